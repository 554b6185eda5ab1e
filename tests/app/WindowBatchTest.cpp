#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "PanelFrame.h"
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
