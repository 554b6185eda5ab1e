#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <csignal>

#include "DropFiles.h"
#include "PanelFrame.h"
#include "SettingsFile.h"
#include "TestPictures.h"
#include "WindowTestSupport.h"

using namespace windowtest;

namespace {

// A shown, active window and a folder of small bitmaps to drop on it.
class WindowBatch : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>(dir.path());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        sizes = control<PanelFrame>(*window, "PanelFrame1");
        QObject::connect(sizes, &PanelFrame::PropertyChanged, [this](const QString& name) {
            if (name == "FooterText")
                footers << sizes->FooterText();
        });
    }
    QString picture(const QString& name) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(quadrantPicture(16, 16).save(path, "BMP"));
        return path;
    }
    QWidget* folderLink() { return control(*window, "lnkOutputFolder"); }

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
    PanelFrame* sizes = nullptr;
    QStringList footers;
};

}  // namespace

TEST_F(WindowBatch, TheFooterCountsTheFilesAndThenSaysWhereTheyWent) {
    window->Resizer_OLEDragDrop(0, {picture("a.bmp"), picture("b.bmp"), dir.filePath("c.png")});
    EXPECT_EQ(footers.mid(0, 3), (QStringList{"0 / 2", "1 / 2", "2 / 2"}));
    EXPECT_EQ(sizes->FooterText(), "2 file scritti in Elaborate");
    EXPECT_EQ(control(*window, "BatchNotice")->toolTip(),
              "2 file scritti in " + QDir::toNativeSeparators(dir.filePath("Elaborate")));
    ASSERT_TRUE(folderLink()->isVisible());

    UrlCatcher files("file");
    click(folderLink());
    ASSERT_EQ(files.opened.size(), 1);
    EXPECT_EQ(files.opened[0], QUrl::fromLocalFile(dir.filePath("Elaborate")));
}

TEST_F(WindowBatch, AStoppedBatchNamesTheFileAndTheReason) {
    const QString bad = dir.filePath("rotta.jpg");
    QFile junk(bad);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is no picture");
    junk.close();
    window->Resizer_OLEDragDrop(1, {picture("prima.bmp"), bad, picture("dopo.bmp")});
    const BatchReport& report = window->lastReport();
    ASSERT_TRUE(report.failure.has_value());
    const QString expected = QString("Interrotto su rotta.jpg: errore %1, %2 (1 file scritto)")
                                 .arg(report.failure->number)
                                 .arg(report.failure->text);
    // The footer shows as much as fits; the tooltip has it whole.
    const QString shown = sizes->FooterText();
    EXPECT_TRUE(shown.startsWith("Interrotto su rotta.jpg: errore ")) << shown.toStdString();
    EXPECT_TRUE(shown == expected ||
                (shown.endsWith(QChar(0x2026)) && expected.startsWith(shown.chopped(1))))
        << shown.toStdString();
    EXPECT_TRUE(control(*window, "BatchNotice")->toolTip().contains(QDir::toNativeSeparators(bad)));
    EXPECT_TRUE(folderLink()->isVisible());  // the file written before the fault is there
    EXPECT_EQ(window->HeaderText(), "Dimensione delle immagini");
}

TEST_F(WindowBatch, EscStopsTheBatchAfterTheFileInHand) {
    QObject::connect(sizes, &PanelFrame::PropertyChanged, [this](const QString& name) {
        if (name == "FooterText" && sizes->FooterText() == "1 / 3")
            QTest::keyClick(window.get(), Qt::Key_Escape);
    });
    window->Resizer_OLEDragDrop(2, {picture("1.bmp"), picture("2.bmp"), picture("3.bmp")});
    EXPECT_TRUE(window->lastReport().cancelled);
    EXPECT_EQ(window->lastReport().written, 1);
    EXPECT_FALSE(window->lastReport().failure.has_value());
    EXPECT_EQ(sizes->FooterText(), "Interrotto con Esc: 1 di 3 file fatti (1 file scritto)");

    // The next drop runs whole again.
    window->Resizer_OLEDragDrop(2, {dir.filePath("2.bmp")});
    EXPECT_FALSE(window->lastReport().cancelled);
    EXPECT_EQ(window->lastReport().written, 1);
}

TEST_F(WindowBatch, ADropOfNoPictureSaysSoAndOffersNoFolder) {
    window->Resizer_OLEDragDrop(3, {dir.filePath("note.txt"), dir.filePath("foto.jpeg")});
    EXPECT_EQ(sizes->FooterText(), "Nessun file .bmp, .gif o .jpg tra quelli trascinati");
    EXPECT_FALSE(folderLink()->isVisible());
}

TEST_F(WindowBatch, ClosingDuringABatchSavesAndStopsItAfterTheFileInHand) {
    QObject::connect(sizes, &PanelFrame::PropertyChanged, [this](const QString& name) {
        if (name == "FooterText" && sizes->FooterText() == "1 / 3")
            window->close();
    });
    window->Resizer_OLEDragDrop(0, {picture("1.bmp"), picture("2.bmp"), picture("3.bmp")});
    EXPECT_TRUE(window->lastReport().cancelled);
    EXPECT_EQ(window->lastReport().written, 1);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("resizer.cfg")));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WindowBatch, WhileABatchRunsTheWindowSaysSoAndOffersToStopIt) {
    QWidget* stop = control(*window, "lnkStop");
    ASSERT_FALSE(stop->isVisible());
    QString header;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    QObject::connect(sizes, &PanelFrame::PropertyChanged, [&](const QString& name) {
        if (name != "FooterText" || sizes->FooterText() != "1 / 3")
            return;
        header = window->HeaderText();
        const QCursor* busy = QApplication::overrideCursor();
        cursor = busy ? busy->shape() : Qt::ArrowCursor;
        EXPECT_TRUE(stop->isVisible());
        EXPECT_EQ(static_cast<QLabel*>(stop)->text(), "Interrompi (Esc)");
        click(stop);
    });
    window->Resizer_OLEDragDrop(1, {picture("1.bmp"), picture("2.bmp"), picture("3.bmp")});
    EXPECT_EQ(header, "Elaborazione in corso...");
    EXPECT_EQ(cursor, Qt::WaitCursor);
    EXPECT_TRUE(window->lastReport().cancelled);
    EXPECT_EQ(window->lastReport().written, 1);
    EXPECT_FALSE(stop->isVisible());
    EXPECT_EQ(window->HeaderText(), "Dimensione delle immagini");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WindowBatch, ADropReturnsAtOnceTakesTheKeyboardAndItsBatchRunsRightAfterInOrder) {
    QWidget other;  // the file manager the files come from
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QList<int> finished;  // the first accepted file's size target, batch by batch
    QObject::connect(window.get(), &MainWindow::batchFinished, [&](const BatchReport& report) {
        finished
            << QImage(QDir(report.outputFolder).filePath(QFileInfo(report.accepted[0]).fileName()))
                   .width();
    });
    const QStringList first = {picture("1.bmp"), picture("2.bmp"), picture("3.bmp")};
    const QStringList second = {picture("4.bmp")};
    bool droppedDuringTheFirst = false;
    QObject::connect(sizes, &PanelFrame::PropertyChanged, [&](const QString& name) {
        if (name != "FooterText" || sizes->FooterText() != "1 / 3" || droppedDuringTheFirst)
            return;
        droppedDuringTheFirst = true;
        dropFiles(window->target(1), second);
        EXPECT_EQ(sizes->FooterText(), "1 / 3");  // the second waits for the first
    });
    dropFiles(window->target(0), first);
    EXPECT_FALSE(window->isBusy());
    EXPECT_TRUE(footers.isEmpty());
    // Esc goes where the keyboard is: to this window now, not to the file manager.
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.size() == 2; }));
    EXPECT_TRUE(droppedDuringTheFirst);
    EXPECT_EQ(finished, (QList<int>{320, 640}));
}

TEST_F(WindowBatch, WhenTheDesktopCannotOpenTheFolderOrTheLinkTheFooterSaysSo) {
    window->Resizer_OLEDragDrop(0, {picture("a.bmp")});
    // No handler for either scheme: the offscreen platform opens nothing.
    click(folderLink());
    EXPECT_EQ(sizes->FooterText(), "Impossibile aprire la cartella Elaborate");
    EXPECT_TRUE(control(*window, "BatchNotice")->toolTip().contains("xdg-utils"));
    click(control(*window, "LabelLink"));
    EXPECT_EQ(sizes->FooterText(), "Impossibile aprire il sito del progetto");
    EXPECT_TRUE(control(*window, "BatchNotice")->toolTip().contains(MainWindow::ProjectAddress()));
}

class WindowSessionEnd : public ::testing::TestWithParam<int> {};

TEST_P(WindowSessionEnd, TheSignalClosesTheWindowAndItsSettingsAreSaved) {
    QTemporaryDir dir;
    MainWindow window(dir.path());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    click(button(window, "ThemedButton3"));
    ASSERT_TRUE(window.settings().KeepProportions);
    ASSERT_EQ(std::raise(GetParam()), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }));
    Settings saved;
    settingsfile::LoadSettings(dir.path(), saved);
    EXPECT_TRUE(saved.KeepProportions);
}

INSTANTIATE_TEST_SUITE_P(TermAndHangUp, WindowSessionEnd, ::testing::Values(SIGTERM, SIGHUP));
