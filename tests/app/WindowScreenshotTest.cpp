#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "PanelFrame.h"
#include "TestPaths.h"
#include "TestPictures.h"
#include "WindowTestSupport.h"

using namespace windowtest;

namespace {

// Saves what the window shows now, for a reviewer to look at.
void shoot(MainWindow& w, const char* name) {
    QApplication::processEvents();
    const QImage shot = w.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), w.size());
    ASSERT_TRUE(shot.save(QDir(testOutputDir()).filePath(name)));
}

}  // namespace

TEST(WindowScreenshot, TheWindowAndItsQualityPanel) {
    QTemporaryDir dir;
    MainWindow w(dir.path());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    // After one batch: a preview in its target and the outcome in the footer.
    const QString picture = dir.filePath("quadranti.bmp");
    ASSERT_TRUE(quadrantPicture(64, 48).save(picture, "BMP"));
    w.Resizer_OLEDragDrop(1, {picture});
    ASSERT_EQ(w.lastReport().written, 1);
    shoot(w, "main_window.png");

    // A batch in progress, with a toggle on beside it: the mark stands clear of its caption.
    click(button(w, "ThemedButton3"));
    auto* sizes = control<PanelFrame>(w, "PanelFrame1");
    const auto busyShot = QObject::connect(sizes, &PanelFrame::PropertyChanged, [&] {
        if (sizes->FooterText() == "1 / 2")
            shoot(w, "main_window_busy.png");
    });
    w.Resizer_OLEDragDrop(2, {picture, picture});
    QObject::disconnect(busyShot);
    click(button(w, "ThemedButton3"));

    // Keyboard focus on the target showing the preview: the ring must show over the picture.
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.target(1)->setFocus();
    ASSERT_TRUE(w.target(1)->hasFocus());
    shoot(w, "main_window_focus.png");

    bool shot = false;
    whenShown(control(w, "FrameQualita"), [&] {
        shoot(w, "main_window_quality.png");
        shot = true;
        click(button(w, "ThemedButton1_0"));
    });
    click(button(w, "btnQualita"));
    EXPECT_TRUE(shot);

    whenShown(control(w, "Picture4"), [&] {
        shoot(w, "main_window_help.png");
        click(button(w, "ThemedButton5"));
    });
    click(button(w, "ThemedButton6"));
}

TEST(WindowScreenshot, TheWindowWithHighQualityOn) {
    QTemporaryDir dir;
    MainWindow w(dir.path());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    click(button(w, "btnSmooth"));
    const QString picture = dir.filePath("quadranti.bmp");
    ASSERT_TRUE(quadrantPicture(64, 48).save(picture, "BMP"));
    w.Resizer_OLEDragDrop(1, {picture});
    ASSERT_EQ(w.lastReport().written, 1);
    shoot(w, "main_window_smooth.png");
}
