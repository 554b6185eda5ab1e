#include <gtest/gtest.h>

#include <QAccessible>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <functional>
#include <vector>

#include "AccessibleNotice.h"
#include "DropTarget.h"
#include "FileBytes.h"
#include "HelpText.h"
#include "TestPictures.h"
#include "WindowTestSupport.h"

using namespace windowtest;

namespace {

// What the window told assistive technology.
struct Heard {
    QAccessible::Event type;
    QObject* object;
    QAccessible::State changed;
    QString name;
};

QAccessibleInterface* of(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// A shown, active window in a home folder of its own, whose file chooser answers `chosen`
// and notes the folder it was opened in.
class WindowAccess : public ::testing::Test {
  protected:
    void SetUp() override {
        savedHome = qgetenv("HOME");
        qputenv("HOME", home.path().toUtf8());
        qunsetenv("XDG_CONFIG_HOME");
        QDir(home.path()).mkpath(".config");
        ASSERT_TRUE(writeBytes(home.filePath(".config/user-dirs.dirs"),
                               "XDG_PICTURES_DIR=\"$HOME/Immagini\"\n"));
        QDir(home.path()).mkpath("Immagini");

        DropTarget::SetFileChooser([this](QWidget*, const QString& folder) {
            openedIn << folder;
            return chosen;
        });
        accessnotice::SetListener([this](QAccessibleEvent* e) { hear(e); });
        window = std::make_unique<MainWindow>(dir.path());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override {
        window.reset();
        accessnotice::SetListener({});
        DropTarget::SetFileChooser({});
        qputenv("HOME", savedHome);
    }
    QString picture(const QString& name) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(quadrantPicture(64, 48).save(path, "BMP"));
        return path;
    }
    void hear(QAccessibleEvent* e) {
        Heard h{e->type(), e->object(), {}, {}};
        if (e->type() == QAccessible::StateChanged)
            h.changed = static_cast<QAccessibleStateChangeEvent*>(e)->changedStates();
        if (QAccessibleInterface* i = e->accessibleInterface())
            h.name = i->text(QAccessible::Name);
        heard.push_back(h);
    }
    QSize written(const QString& name) const {
        return QImageReader(dir.filePath("Elaborate/" + name)).size();
    }

    QTemporaryDir home;
    QTemporaryDir dir;
    QByteArray savedHome;
    std::unique_ptr<MainWindow> window;
    QStringList chosen;
    QStringList openedIn;
    std::vector<Heard> heard;
};

}  // namespace

TEST_F(WindowAccess, EnterSpaceADoubleClickOrAPressChoosesFilesForTheTargetsBatch) {
    struct Way {
        const char* name;
        std::function<void(QWidget*)> open;
        QSize size;
    };
    const Way ways[] = {
        {"Return", [](QWidget* t) { QTest::keyClick(t, Qt::Key_Return); }, {320, 240}},
        {"Enter",
         [](QWidget* t) { QTest::keyClick(t, Qt::Key_Enter, Qt::KeypadModifier); },
         {640, 480}},
        {"Space", [](QWidget* t) { QTest::keyClick(t, Qt::Key_Space); }, {800, 600}},
        {"double click", [](QWidget* t) { QTest::mouseDClick(t, Qt::LeftButton); }, {1024, 768}},
        {"assistive press",
         [](QWidget* t) {
             of(t)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
         },
         {1280, 960}},
    };
    int index = 0;
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        const QString name = QString("via_%1.bmp").arg(index);
        chosen = {picture(name), dir.filePath("note.txt")};
        openedIn.clear();
        QSignalSpy finished(window.get(), &MainWindow::batchFinished);
        way.open(window->target(index++));
        EXPECT_TRUE(finished.wait(10000));  // the batch starts right after the chooser closes
        EXPECT_EQ(openedIn, QStringList{home.filePath("Immagini")});
        EXPECT_EQ(window->lastReport().skipped, 1);  // the same filter as a drop
        EXPECT_EQ(written(name), way.size);
    }

    // A cancelled chooser starts nothing; without a Pictures folder it opens in the home.
    int batches = 0;
    QObject::connect(window.get(), &MainWindow::batchFinished, [&] { ++batches; });
    QDir(home.filePath("Immagini")).removeRecursively();
    chosen.clear();
    openedIn.clear();
    QTest::keyClick(window->target(0), Qt::Key_Return);
    QApplication::processEvents();  // a queued batch would run here
    EXPECT_EQ(openedIn, QStringList{home.path()});
    EXPECT_EQ(batches, 0);
}

TEST_F(WindowAccess, TabGoesThroughTheOptionsThenTheTargetsThenTheSizeBoxes) {
    QStringList options;
    for (const ThemedButton* b : control(*window, "PanelFrame2")->findChildren<ThemedButton*>())
        options << b->objectName();
    button(*window, "ThemedButton7")->setFocus();
    QStringList order{"ThemedButton7"};
    while (order.size() < 40 && order.last() != "Text2") {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    const qsizetype targets = order.indexOf("Resizer_0");
    ASSERT_GT(targets, 0) << order.join(' ').toStdString();
    QStringList before = order.mid(0, targets);
    before.sort();
    options.sort();
    EXPECT_EQ(before, options);
    EXPECT_EQ(order.mid(targets), (QStringList{"Resizer_0", "Resizer_1", "Resizer_2", "Resizer_3",
                                               "Resizer_4", "Text1", "Text2"}));
}

TEST_F(WindowAccess, TogglesReportAndAnnounceTheirState) {
    const char* const toggles[] = {"ThemedButton3", "ThemedButton2_0", "ThemedButton2_1",
                                   "ThemedButton4", "ThemedButton7"};
    for (const char* name : toggles) {
        SCOPED_TRACE(name);
        ThemedButton* b = button(*window, name);
        QAccessibleInterface* i = of(b);
        EXPECT_EQ(i->role(), QAccessible::CheckBox);  // how a bridge tells the state aloud
        EXPECT_TRUE(i->state().checkable);
        const bool before = i->state().checked;
        heard.clear();
        click(b);  // in this order every click changes its button's state
        EXPECT_NE(i->state().checked, before);
        const auto said = std::find_if(heard.begin(), heard.end(), [&](const Heard& h) {
            return h.type == QAccessible::StateChanged && h.object == b && h.changed.checked;
        });
        EXPECT_NE(said, heard.end());
    }
    EXPECT_FALSE(of(button(*window, "btnQualita"))->state().checkable);
    EXPECT_EQ(of(button(*window, "btnQualita"))->role(), QAccessible::Button);
}

TEST_F(WindowAccess, TargetsBoxesLinksAndHelpAreNamedAndTheOutcomeIsAnnounced) {
    QAccessibleInterface* target = of(window->target(1));
    EXPECT_EQ(target->role(), QAccessible::Button);
    EXPECT_EQ(target->text(QAccessible::Name), "640x480");
    EXPECT_TRUE(target->text(QAccessible::Description).startsWith("Trascina qui le immagini"));
    EXPECT_TRUE(target->state().focusable);
    EXPECT_EQ(of(window->customWidth())->text(QAccessible::Name), "Larghezza");
    EXPECT_EQ(of(window->customHeight())->text(QAccessible::Name), "Altezza");
    EXPECT_EQ(of(control(*window, "Picture4"))->text(QAccessible::Description), helptext::Spoken());

    window->Resizer_OLEDragDrop(0, {picture("annuncio.bmp")});
    const auto alert = std::find_if(heard.begin(), heard.end(),
                                    [](const Heard& h) { return h.type == QAccessible::Alert; });
    ASSERT_NE(alert, heard.end());
    EXPECT_EQ(alert->object, control(*window, "BatchNotice"));
    EXPECT_EQ(alert->name,
              "1 file scritto in " + QDir::toNativeSeparators(dir.filePath("Elaborate")));

    UrlCatcher files("file");
    UrlCatcher web("https");
    for (const char* name : {"lnkOutputFolder", "LabelLink"}) {
        QAccessibleInterface* link = of(control(*window, name));
        EXPECT_EQ(link->role(), QAccessible::Link) << name;
        link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    QApplication::processEvents();
    EXPECT_EQ(files.opened, QList<QUrl>{QUrl::fromLocalFile(dir.filePath("Elaborate"))});
    EXPECT_EQ(web.opened, QList<QUrl>{QUrl(MainWindow::ProjectAddress())});
}
