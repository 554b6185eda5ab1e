#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "EventLog.h"
#include "FileBytes.h"
#include "OwnChoices.h"
#include "PanelFrame.h"
#include "TestPaths.h"
#include "TestPictures.h"
#include "WindowTestSupport.h"

using namespace windowtest;

namespace {

class MoreOptionsPanel : public ::testing::Test {
  protected:
    void SetUp() override {
        oldSink = eventlog::SetSink([](const QString&) {});
        window = std::make_unique<MainWindow>(dir.path());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override {
        window.reset();
        eventlog::SetSink(oldSink);
    }
    // Opens the panel and runs `inside` while it is open; `inside` closes it.
    void withPanelOpen(std::function<void()> inside) {
        bool ran = false;
        whenShown(control(*window, "FrameAltreOpzioni"), [&] {
            inside();
            ran = true;
        });
        click(button(*window, "btnAltreOpzioni"));
        EXPECT_TRUE(ran);
        EXPECT_TRUE(control(*window, "FrameAltreOpzioni")->isHidden());
    }
    QCheckBox* box(const char* name) { return control<QCheckBox>(*window, name); }
    OwnChoices saved() {
        OwnChoices c;
        ownchoices::Load(dir.path(), c);
        return c;
    }

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
    eventlog::Sink oldSink;
};

}  // namespace

TEST_F(MoreOptionsPanel, OkKeepsAndSavesEveryChoiceAndTheOptionsRestMeanwhile) {
    withPanelOpen([&] {
        EXPECT_FALSE(control<PanelFrame>(*window, "PanelFrame1")->Enabled());
        EXPECT_FALSE(control<PanelFrame>(*window, "PanelFrame2")->Enabled());
        // GPS depends on Exif.
        EXPECT_FALSE(box("chkKeepGps")->isEnabled());
        click(box("chkKeepMetadata"));
        EXPECT_TRUE(box("chkKeepGps")->isEnabled());
        for (const char* name : {"chkKeepGps", "chkKeepDate", "chkNeverEnlarge", "chkKeepGoing"})
            click(box(name));
        click(button(*window, "cmdAltreOpzioni_1"));
    });
    EXPECT_TRUE(control<PanelFrame>(*window, "PanelFrame1")->Enabled());
    OwnChoices all;
    all.KeepMetadata = all.KeepGps = all.KeepDate = all.NeverEnlarge = all.KeepGoing = true;
    EXPECT_EQ(window->choices(), all);
    EXPECT_EQ(saved(), all);

    // A new window shows them; unticking Exif leaves GPS as chosen but resting.
    window = std::make_unique<MainWindow>(dir.path());
    window->show();
    withPanelOpen([&] {
        for (const char* name :
             {"chkKeepMetadata", "chkKeepGps", "chkKeepDate", "chkNeverEnlarge", "chkKeepGoing"})
            EXPECT_TRUE(box(name)->isChecked()) << name;
        click(box("chkKeepMetadata"));
        EXPECT_FALSE(box("chkKeepGps")->isEnabled());
        EXPECT_TRUE(box("chkKeepGps")->isChecked());
        click(button(*window, "cmdAltreOpzioni_1"));
    });
    EXPECT_FALSE(saved().KeepMetadata);
    EXPECT_TRUE(saved().KeepGps);
}

TEST_F(MoreOptionsPanel, CancelRestoresTheChoicesAndSavesNothing) {
    window->choices().KeepMetadata = window->choices().NeverEnlarge = true;
    const OwnChoices before = window->choices();
    withPanelOpen([&] {
        QApplication::processEvents();
        EXPECT_TRUE(
            window->grab().save(QDir(testOutputDir()).filePath("main_window_more_options.png")));
        for (const char* name : {"chkKeepDate", "chkKeepGoing", "chkNeverEnlarge"})
            click(box(name));
        EXPECT_TRUE(window->choices().KeepGoing);  // in effect at once, as the quality panel's
        click(button(*window, "cmdAltreOpzioni_0"));
    });
    EXPECT_EQ(window->choices(), before);
    EXPECT_FALSE(QFile::exists(ownchoices::PathIn(dir.path())));
}

TEST_F(MoreOptionsPanel, AFailedFileIsCountedInTheFooterAndListedOneClickAway) {
    const QString good = dir.filePath("buona.bmp");
    ASSERT_TRUE(quadrantPicture(16, 16).save(good, "BMP"));
    const QString bad = dir.filePath("rotta.jpg");
    ASSERT_TRUE(writeBytes(bad, "not a picture"));

    window->choices().KeepGoing = true;
    window->Resizer_OLEDragDrop(0, {bad, good});
    auto* sizes = control<PanelFrame>(*window, "PanelFrame1");
    EXPECT_EQ(sizes->FooterText(), "1 file scritto, 1 non elaborato in Elaborate")
        << sizes->FooterText().toStdString();
    QWidget* link = control(*window, "lnkFailures");
    ASSERT_TRUE(link->isVisible());
    window->grab().save(QDir(testOutputDir()).filePath("main_window_failures.png"));
    click(link);
    auto* list = window->findChild<QTreeWidget*>("lstFailures");
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->window()->isVisible());
    EXPECT_FALSE(list->window()->isModal());
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QDir::toNativeSeparators(bad));
    EXPECT_TRUE(list->topLevelItem(0)->text(1).startsWith("errore 481: "));
    list->window()->grab().save(QDir(testOutputDir()).filePath("failure_list.png"));

    // A batch without failures hides the link and empties the open list.
    window->Resizer_OLEDragDrop(1, {good});
    EXPECT_TRUE(link->isHidden());
    EXPECT_EQ(list->topLevelItemCount(), 0);
}
