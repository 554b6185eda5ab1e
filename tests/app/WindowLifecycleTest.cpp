#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>

#include "FileBytes.h"
#include "PanelFrame.h"
#include "QualityChoices.h"
#include "SettingsFile.h"
#include "ToggleLook.h"
#include "WindowTestSupport.h"

using namespace windowtest;

namespace {

void writeSettings(const QString& folder, const Settings& s) {
    ASSERT_TRUE(settingsfile::SaveSettings(folder, s));
}

}  // namespace

TEST(WindowLifecycle, EveryChoiceSurvivesACloseAndARestart) {
    QTemporaryDir dir;
    const QString cfg = dir.filePath("resizer.cfg");
    {
        MainWindow w(dir.path());
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        w.move(210, 150);
        for (const char* name :
             {"ThemedButton3", "ThemedButton4", "ThemedButton7", "ThemedButton2_0"})
            click(button(w, name));
        whenShown(control(w, "FrameQualita"), [&] {
            auto* list = control<QComboBox>(w, "cboSubSample");
            list->setFocus();
            for (int i = 0; i < 10; ++i)
                QTest::keyClick(list, Qt::Key_Down);  // "3:4"
            QTest::keyClick(control(w, "hscQuality"), Qt::Key_End);
            click(control(w, "chkGreyscale"));
            click(button(w, "cmdComment"));
            QTest::keyClicks(control(w, "txtComment"), "Luce");
            click(button(w, "ThemedButton1_3"));
            click(button(w, "ThemedButton1_1"));
        });
        click(button(w, "btnQualita"));
        w.close();
    }
    Settings saved;
    ASSERT_TRUE(settingsfile::LoadSettings(dir.path(), saved));
    EXPECT_EQ(saved.FormLeft, 210 * 15);
    EXPECT_EQ(saved.FormTop, 150 * 15);
    EXPECT_TRUE(saved.KeepProportions && saved.NameWithSize && saved.StayOnTop && saved.LockWidth);
    EXPECT_FALSE(saved.LockHeight);
    EXPECT_EQ(saved.Quality, 100);
    EXPECT_TRUE(saved.GreyscaleOn);
    EXPECT_EQ(saved.SubSampleIndex, 13);
    EXPECT_EQ(saved.Comment, "Luce");
    const QByteArray first = readBytes(cfg);

    MainWindow again(dir.path());
    EXPECT_EQ(again.settings(), saved);
    EXPECT_EQ(again.frameGeometry().topLeft(), QPoint(210, 150));
    for (const char* name : {"ThemedButton3", "ThemedButton4", "ThemedButton7", "ThemedButton2_0"})
        EXPECT_TRUE(HasToggleLookOn(button(again, name))) << name;
    EXPECT_TRUE(again.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(control<QCheckBox>(again, "chkGreyscale")->isChecked());
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    again.close();
    // Nothing moved and nothing was lost: the window does not creep on every restart.
    EXPECT_EQ(readBytes(cfg), first);
}

TEST(WindowLifecycle, ClosingWithAPanelOpenSavesAndEndsItsWait) {
    for (const char* opener : {"btnQualita", "ThemedButton6"}) {
        QTemporaryDir dir;
        MainWindow w(dir.path());
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        QWidget* panel = control(w, opener == QString("btnQualita") ? "FrameQualita" : "Picture4");
        whenShown(panel, [&] {
            w.settings().NameWithSize = true;
            w.close();
        });
        click(button(w, opener));  // returns: the wait has ended
        EXPECT_TRUE(panel->isHidden()) << opener;
        Settings saved;
        ASSERT_TRUE(settingsfile::LoadSettings(dir.path(), saved)) << opener;
        EXPECT_TRUE(saved.NameWithSize) << opener;
    }
}

TEST(WindowLifecycle, HelpOpensInThePictureAndRestsTheOptionsUntilOk) {
    QTemporaryDir dir;
    MainWindow w(dir.path());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QWidget* help = control(w, "Picture4");
    bool seen = false;
    whenShown(help, [&] {
        EXPECT_EQ(help->pos(), QPoint(0, 8));  // 120 twips down
        EXPECT_FALSE(control<PanelFrame>(w, "PanelFrame2")->Enabled());
        EXPECT_FALSE(button(w, "btnQualita")->isEnabled());
        EXPECT_FALSE(w.customWidth()->isEnabled());
        seen = true;
        click(button(w, "ThemedButton5"));
    });
    click(button(w, "ThemedButton6"));
    EXPECT_TRUE(seen);
    EXPECT_TRUE(help->isHidden());
    EXPECT_TRUE(button(w, "btnQualita")->isEnabled());
    EXPECT_TRUE(w.customWidth()->isEnabled());
}

TEST(WindowLifecycle, ASavedPlaceOffEveryScreenComesBackOntoThePrimaryOne) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QTemporaryDir dir;
    Settings s;
    s.SampleH = 2;
    s.SampleV = 2;
    s.Quality = 75;
    s.FormLeft = (area.right() + 4000) * 15;
    s.FormTop = -300 * 15;
    writeSettings(dir.path(), s);
    MainWindow w(dir.path());
    const QPoint at = w.frameGeometry().topLeft();
    EXPECT_TRUE(area.contains(at)) << at.x() << "," << at.y();

    s.FormLeft = -15;  // a negative left centres the window
    writeSettings(dir.path(), s);
    MainWindow centred(dir.path());
    EXPECT_EQ(centred.frameGeometry().center().x(), area.center().x());
}

TEST(WindowLifecycle, TheLinkOpensTheProjectsPage) {
    UrlCatcher web("https");
    QTemporaryDir dir;
    MainWindow w(dir.path());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    click(control(w, "LabelLink"));
    ASSERT_EQ(web.opened.size(), 1);
    EXPECT_EQ(web.opened[0], QUrl("https://velmora.example.com/tessaro"));
}

// A record cut at any length: the fields it holds whole are read, every other one keeps the
// value of a new file, and the window (like the command) settles on a sampling choice that
// it saves whole and an encoder takes.
TEST(WindowLifecycle, ARecordCutAnywhereKeepsTheDefaultsOfWhatItLacks) {
    Settings full;
    full.Reserved1 = 7;
    full.Quality = 90;
    full.Reserved3 = 9;
    full.SampleH = 3;
    full.SampleV = 1;
    full.SubSampleIndex = 5;  // "3:1"
    full.NameWithSize = full.KeepProportions = full.LockWidth = full.StayOnTop = true;
    const QByteArray bytes = settingsrecord::encode(full);
    for (int cut = 0; cut <= 50; ++cut) {
        SCOPED_TRACE(cut);
        QTemporaryDir dir;
        ASSERT_TRUE(writeBytes(dir.filePath("resizer.cfg"), bytes.left(cut)));

        Settings expected;  // a new file's
        const auto whole = [cut](int end) { return cut >= end; };
        expected.Reserved1 = whole(12) ? full.Reserved1 : 0;
        expected.Quality = whole(20) ? full.Quality : 0;
        expected.Reserved3 = whole(24) ? full.Reserved3 : 0;
        expected.SampleH = whole(36) ? full.SampleH : 0;
        expected.SampleV = whole(36) ? full.SampleV : 0;
        expected.SubSampleIndex = whole(36) ? full.SubSampleIndex : 3;
        expected.NameWithSize = whole(40);
        expected.KeepProportions = whole(42);
        expected.LockWidth = whole(46);
        expected.StayOnTop = whole(48);
        Settings loaded;
        settingsfile::LoadSettings(dir.path(), loaded);
        EXPECT_EQ(loaded, expected);

        qualitychoices::ApplyStartupDefaults(loaded);
        {
            MainWindow w(dir.path());
            w.close();
        }
        Settings saved;
        ASSERT_TRUE(settingsfile::LoadSettings(dir.path(), saved));
        EXPECT_EQ(saved.Quality, whole(20) ? 90 : 75);
        EXPECT_EQ(saved.SubSampleIndex, whole(36) ? 5 : 3);
        EXPECT_EQ(QPoint(saved.SampleH, saved.SampleV), whole(36) ? QPoint(3, 1) : QPoint(2, 2));
        EXPECT_EQ(QPoint(loaded.SampleH, loaded.SampleV), QPoint(saved.SampleH, saved.SampleV));
    }
}
