#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QValidator>

#include "DropFiles.h"
#include "MainWindow.h"
#include "SettingsFile.h"
#include "TestPictures.h"

TEST(MainWindow, ShowsItsTargetsAndTexts) {
    QTemporaryDir dir;
    MainWindow w(dir.path());
    EXPECT_EQ(w.windowTitle(), "Velmora. Tessaro  Vers. 2.0");
    EXPECT_EQ(w.HeaderText(), "Dimensione delle immagini");
    EXPECT_EQ(w.customWidth()->text(), "1280");
    EXPECT_EQ(w.customHeight()->text(), "960");
    EXPECT_EQ(w.target(0)->toolTip(),
              "Trascina le immagini da ridimensionare all'interno della finestra corrispondente "
              "alla grandezza desiderata.\n"
              "Invio, Spazio o doppio clic: sceglie i file da ridimensionare.");
    // Digits only in the custom boxes.
    int pos = 0;
    QString typed = "12a";
    EXPECT_NE(w.customWidth()->validator()->validate(typed, pos), QValidator::Acceptable);
    // Screen readers hear each target's size; the custom one follows its boxes.
    EXPECT_EQ(w.target(1)->objectName(), "Resizer_1");
    EXPECT_TRUE(w.target(1)->accessibleName().contains("640x480"));
    w.customWidth()->setText("500");
    EXPECT_TRUE(w.target(4)->accessibleName().contains("500x960"));
    // Targets stand left to right in index order.
    w.show();
    for (int i = 1; i < 5; ++i)
        EXPECT_LT(w.target(i - 1)->x(), w.target(i)->x());
}

TEST(MainWindow, ADropRunsTheBatchAndRestoresTheIdleState) {
    QTemporaryDir dir;
    const QString a = dir.filePath("pic.bmp");
    ASSERT_TRUE(quadrantPicture(64, 64).save(a, "BMP"));
    MainWindow w(dir.path());
    w.show();
    QStringList headers;
    QObject::connect(&w, &MainWindow::batchFinished, [&] { headers << w.HeaderText(); });

    dropFiles(w.target(1), {a});
    // The batch runs from the event loop, after the drop has returned.
    EXPECT_TRUE(headers.isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !headers.isEmpty(); }));
    EXPECT_EQ(w.lastReport().written, 1);
    EXPECT_EQ(QImageReader(QDir(dir.path()).filePath("Elaborate/pic.bmp")).size(), QSize(640, 480));
    EXPECT_EQ(headers, QStringList{"Dimensione delle immagini"});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(w.target(1)->pixmap().isNull());  // the preview
}

TEST(MainWindow, ClosingSavesTheSettings) {
    QTemporaryDir dir;
    {
        MainWindow w(dir.path());
        w.settings().NameWithSize = true;
        w.close();
    }
    Settings s;
    ASSERT_TRUE(settingsfile::LoadSettings(dir.path(), s));
    EXPECT_TRUE(s.NameWithSize);
    EXPECT_TRUE(s.LockHeight);  // the start-up default
    EXPECT_EQ(s.Quality, 75);
    EXPECT_EQ(QFileInfo(dir.filePath("resizer.cfg")).size(), 50);
}

TEST(MainWindow, ASecondDropDuringABatchRunsAfterIt) {
    QTemporaryDir dir;
    const QString a = dir.filePath("first.bmp");
    const QString b = dir.filePath("second.bmp");
    ASSERT_TRUE(quadrantPicture(32, 32).save(a, "BMP"));
    ASSERT_TRUE(quadrantPicture(32, 32).save(b, "BMP"));
    MainWindow w(dir.path());
    QList<QStringList> batches;
    QObject::connect(&w, &MainWindow::batchFinished,
                     [&](const BatchReport& r) { batches << r.accepted; });
    // Delivered while the first batch services the event queue.
    QTimer::singleShot(0, &w, [&] {
        EXPECT_TRUE(w.isBusy());
        w.Resizer_OLEDragDrop(0, {b});
        EXPECT_EQ(batches.size(), 0);
    });
    w.Resizer_OLEDragDrop(1, {a});
    ASSERT_EQ(batches.size(), 2);
    EXPECT_EQ(batches[0], QStringList{a});
    EXPECT_EQ(batches[1], QStringList{b});
    EXPECT_EQ(QImageReader(QDir(dir.path()).filePath("Elaborate/first.bmp")).size(),
              QSize(640, 480));
    EXPECT_EQ(QImageReader(QDir(dir.path()).filePath("Elaborate/second.bmp")).size(),
              QSize(320, 240));
    EXPECT_FALSE(w.isBusy());
}
