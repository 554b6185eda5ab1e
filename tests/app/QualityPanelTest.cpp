#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>

#include "PanelFrame.h"
#include "SettingsFile.h"
#include "TestPictures.h"
#include "WindowTestSupport.h"

using namespace windowtest;

namespace {

// A shown window whose quality panel the tests open; `inside` runs while it is open.
class QualityPanel : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>(dir.path());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        bar = control<QScrollBar>(*window, "hscQuality");
        list = control<QComboBox>(*window, "cboSubSample");
        grey = control<QCheckBox>(*window, "chkGreyscale");
        label = control<QLabel>(*window, "lblQuality");
    }
    void withPanelOpen(std::function<void()> inside) {
        bool ran = false;
        whenShown(control(*window, "FrameQualita"), [&] {
            inside();
            ran = true;
        });
        click(button(*window, "btnQualita"));
        EXPECT_TRUE(ran);
        EXPECT_TRUE(control(*window, "FrameQualita")->isHidden());
    }
    void keys(QWidget* target, Qt::Key key, int times = 1) {
        target->setFocus();
        for (int i = 0; i < times; ++i)
            QTest::keyClick(target, key);
    }
    Settings& settings() { return window->settings(); }

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
    QScrollBar* bar = nullptr;
    QComboBox* list = nullptr;
    QCheckBox* grey = nullptr;
    QLabel* label = nullptr;
};

}  // namespace

TEST_F(QualityPanel, QualityOutsideFiftyToNinetyFiveIsQuestioned) {
    withPanelOpen([&] {
        EXPECT_EQ(label->text(), QString::fromUtf8("Qualità: 75"));
        keys(bar, Qt::Key_End);
        keys(bar, Qt::Key_Up, 4);  // a scroll bar's Up steps down, as the wheel does
        EXPECT_EQ(label->text(), QString::fromUtf8("Qualità: 96 ???"));
        keys(bar, Qt::Key_Up);
        EXPECT_EQ(label->text(), QString::fromUtf8("Qualità: 95"));
        keys(bar, Qt::Key_Home);
        keys(bar, Qt::Key_Down, 48);
        EXPECT_EQ(label->text(), QString::fromUtf8("Qualità: 49 ???"));
        EXPECT_EQ(settings().Quality, 49);
        keys(bar, Qt::Key_Down);
        EXPECT_EQ(label->text(), QString::fromUtf8("Qualità: 50"));
        EXPECT_EQ(settings().Quality, 50);
        click(button(*window, "ThemedButton1_1"));
    });
}

TEST_F(QualityPanel, GreyscaleDisablesTheListAndUncheckingTakesTheEntrysFactors) {
    withPanelOpen([&] {
        // While the panel is open the targets and option buttons rest.
        EXPECT_FALSE(control<PanelFrame>(*window, "PanelFrame1")->Enabled());
        EXPECT_FALSE(control<PanelFrame>(*window, "PanelFrame2")->Enabled());
        EXPECT_FALSE(window->target(0)->isEnabled());
        click(button(*window, "ThemedButton3"));
        EXPECT_FALSE(settings().KeepProportions);

        keys(list, Qt::Key_Down, 9);
        EXPECT_EQ(list->currentText(), "4:2");
        click(grey);
        EXPECT_FALSE(list->isEnabled());
        EXPECT_EQ(settings().SampleH, 1);
        EXPECT_EQ(settings().SampleV, 1);
        EXPECT_TRUE(settings().GreyscaleOn);
        click(grey);
        EXPECT_TRUE(list->isEnabled());
        EXPECT_EQ(settings().SampleH, 4);
        EXPECT_EQ(settings().SampleV, 2);
        EXPECT_FALSE(settings().GreyscaleOn);
        EXPECT_EQ(settings().SubSampleIndex, 12);
        click(button(*window, "ThemedButton1_0"));
    });
    EXPECT_TRUE(control<PanelFrame>(*window, "PanelFrame1")->Enabled());
    EXPECT_TRUE(window->target(0)->isEnabled());
}

TEST_F(QualityPanel, AConfirmedChoiceIsSavedAndShownAtTheNextOpening) {
    withPanelOpen([&] {
        keys(list, Qt::Key_Down, 10);
        click(button(*window, "ThemedButton1_1"));
    });
    Settings saved;
    ASSERT_TRUE(settingsfile::LoadSettings(dir.path(), saved));
    EXPECT_EQ(saved.SubSampleIndex, 13);
    EXPECT_EQ(saved.SampleH, 3);
    EXPECT_EQ(saved.SampleV, 4);
    withPanelOpen([&] {
        EXPECT_EQ(list->currentText(), "3:4");
        click(button(*window, "ThemedButton1_0"));
    });
}

TEST_F(QualityPanel, CancelRestoresQualitySubsamplingGreyscaleAndComment) {
    const Settings before = settings();
    withPanelOpen([&] {
        keys(bar, Qt::Key_Home);
        keys(list, Qt::Key_Down, 5);
        click(grey);
        click(button(*window, "cmdComment"));
        auto* text = control<QPlainTextEdit>(*window, "txtComment");
        EXPECT_TRUE(control(*window, "frameCommento")->isVisible());
        QTest::keyClicks(text, "  Tramonto  ");
        click(button(*window, "ThemedButton1_3"));
        EXPECT_TRUE(control(*window, "frameCommento")->isHidden());
        EXPECT_EQ(settings().Comment, "Tramonto");
        EXPECT_NE(settings(), before);
        click(button(*window, "ThemedButton1_0"));
    });
    EXPECT_EQ(settings(), before);
    EXPECT_FALSE(settingsfile::FileExists(dir.filePath("resizer.cfg")));
    withPanelOpen([&] {
        EXPECT_EQ(bar->value(), 75);
        EXPECT_EQ(list->currentIndex(), 3);
        EXPECT_FALSE(grey->isChecked());
        EXPECT_TRUE(list->isEnabled());
        EXPECT_EQ(control<QPlainTextEdit>(*window, "txtComment")->toPlainText(), "");
        click(button(*window, "ThemedButton1_0"));
    });
    EXPECT_EQ(settings(), before);
}

TEST_F(QualityPanel, TheCommentPanelsCancelDropsTheTypedText) {
    settings().Comment = "Alba";
    withPanelOpen([&] {
        click(button(*window, "cmdComment"));
        auto* text = control<QPlainTextEdit>(*window, "txtComment");
        EXPECT_EQ(text->toPlainText(), "Alba");
        QTest::keyClicks(text, " sul mare");
        click(button(*window, "ThemedButton1_2"));
        EXPECT_EQ(settings().Comment, "Alba");
        click(button(*window, "ThemedButton1_1"));
    });
    Settings saved;
    ASSERT_TRUE(settingsfile::LoadSettings(dir.path(), saved));
    EXPECT_EQ(saved.Comment, "Alba");
}

namespace {

// The first quantisation table of a JPEG file (luminance, 8-bit steps, zig-zag order): the
// 64 bytes after the first DQT marker, its length and its precision/table byte.
QByteArray luminanceTable(const QString& path) {
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const qsizetype at = bytes.indexOf("\xFF\xDB");
    return at >= 0 && bytes.size() >= at + 5 + 64 && bytes[at + 4] == 0 ? bytes.mid(at + 5, 64)
                                                                        : QByteArray();
}

}  // namespace

TEST_F(QualityPanel, TheQualityChosenInThePanelReachesTheWrittenFile) {
    const QString source = dir.filePath("foto.jpg");
    ASSERT_TRUE(quadrantPicture(64, 48).save(source, "JPG"));
    // The first step of each table: 16 scaled for quality 49 and 75, and all ones at 100.
    for (const auto& [quality, step] : {std::pair{49, 17}, {75, 8}, {100, 1}}) {
        withPanelOpen([&] {
            bar->setValue(quality);
            click(button(*window, "ThemedButton1_1"));
        });
        // An existing output is left as it is: each quality writes afresh.
        QDir(dir.filePath("Elaborate")).removeRecursively();
        window->Resizer_OLEDragDrop(0, {source});
        ASSERT_EQ(window->lastReport().written, 1) << quality;
        const QByteArray table = luminanceTable(dir.filePath("Elaborate/foto.jpg"));
        ASSERT_EQ(table.size(), 64) << quality;
        EXPECT_EQ(table[0], step) << quality;
        EXPECT_TRUE(quality != 100 || table == QByteArray(64, 1));
    }
}

TEST_F(QualityPanel, BlackAndWhiteLeavesBitmapAndGifOutputsInColour) {
    withPanelOpen([&] {
        grey->setChecked(true);
        click(button(*window, "ThemedButton1_1"));
    });
    ASSERT_TRUE(settings().GreyscaleOn);
    const QString bmp = dir.filePath("quadranti.bmp");
    const QString gif = dir.filePath("quadranti.gif");
    ASSERT_TRUE(quadrantPicture(64, 48).save(bmp, "BMP"));
    ASSERT_TRUE(saveAsGif(quadrantPicture(64, 48), gif));
    window->Resizer_OLEDragDrop(0, {bmp, gif});
    ASSERT_EQ(window->lastReport().written, 2);
    for (const char* name : {"quadranti.bmp", "quadranti.gif"}) {
        const QImage out(dir.filePath(QString("Elaborate/") + name));
        ASSERT_FALSE(out.isNull()) << name;
        const QColor topLeft = out.pixelColor(10, 10);  // the red quadrant
        EXPECT_GT(topLeft.red(), topLeft.green() + 100) << name;
    }
}
