#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTimer>
#include <QValidator>

#include "BatchNotice.h"
#include "Hyperlink.h"
#include "ModalWait.h"
#include "RuntimeError.h"
#include "WindowPosition.h"
#include "WindowTestSupport.h"
#include "WindowUtils.h"

using namespace windowtest;

TEST(WindowPosition, AFrameStaysWhileItsTitleBarIsOnAScreen) {
    using windowposition::OnScreen;
    const QRect left(0, 0, 1920, 1080);
    const QRect right(1920, 0, 1280, 1024);
    const QSize frame(734, 663);
    EXPECT_EQ(OnScreen({300, 200}, frame, {left, right}, left), QPoint(300, 200));
    EXPECT_EQ(OnScreen({2500, 100}, frame, {left, right}, left), QPoint(2500, 100));
    // Mostly off the left edge, but a grip of the title bar is still there.
    EXPECT_EQ(OnScreen({-600, 40}, frame, {left}, left), QPoint(-600, 40));
    // The right screen is gone.
    EXPECT_EQ(OnScreen({2500, 100}, frame, {left}, left), QPoint(1920 - 734, 100));
    // Title bar above the top edge, or below the bottom.
    EXPECT_EQ(OnScreen({300, -5}, frame, {left}, left), QPoint(300, 0));
    EXPECT_EQ(OnScreen({300, 1075}, frame, {left}, left), QPoint(300, 1080 - 663));
    // A frame larger than the screen keeps its title bar at the top-left corner.
    EXPECT_EQ(
        OnScreen({5000, 5000}, QSize(900, 700), {QRect(0, 0, 800, 600)}, QRect(0, 0, 800, 600)),
        QPoint(0, 0));
}

TEST(WindowPosition, TwipsArePixelsTimesFifteenAndRoundToTheNearestPixel) {
    EXPECT_EQ(windowposition::ToTwips(210), 3150);
    EXPECT_EQ(windowposition::ToTwips(-4), -60);
    EXPECT_EQ(windowposition::ToPixels(3150), 210);
    EXPECT_EQ(windowposition::ToPixels(7), 0);
    EXPECT_EQ(windowposition::ToPixels(8), 1);
    EXPECT_EQ(windowposition::ToPixels(-8), -1);
    EXPECT_THROW(windowposition::ToTwips(200'000'000), tessaro::RuntimeError);
}

TEST(BatchNotice, SaysHowABatchEnded) {
    BatchReport good;
    good.accepted = QStringList{"/p/a.jpg"};
    good.outputFolder = "/p/Elaborate";
    good.written = 1;
    EXPECT_EQ(batchnotice::Outcome(good, false), "1 file scritto in Elaborate");
    good.written = 3;
    good.unchanged = 2;
    EXPECT_EQ(
        batchnotice::Outcome(good, true),
        QString::fromUtf8("3 file scritti, 2 già presenti, lasciati com'erano in /p/Elaborate"));

    BatchReport failed = good;
    failed.failure = BatchFailure{"/p/x/rotta.gif", 481, "Invalid picture"};
    EXPECT_EQ(batchnotice::Outcome(failed, true).left(51),
              "Interrotto su /p/x/rotta.gif: errore 481, Invalid p");
    EXPECT_TRUE(batchnotice::Outcome(failed, false).startsWith("Interrotto su rotta.gif: "));

    BatchReport none;
    none.skipped = 2;
    EXPECT_FALSE(batchnotice::OffersFolder(none));
    EXPECT_EQ(batchnotice::Progress(4, 9), "4 / 9");
}

TEST(Hyperlink, OpensTheAddressOrMailsItAndAlwaysAsksForAMaximisedWindow) {
    UrlCatcher web("https");
    UrlCatcher mail("mailto");
    Hyperlink link;
    link.setURL("https://velmora.example.com/tessaro");
    link.setExplorerStatus(1);
    EXPECT_EQ(link.ExplorerStatus(), 3);
    link.OpenURL();
    ASSERT_EQ(web.opened.size(), 1);
    EXPECT_EQ(web.opened[0].toString(), "https://velmora.example.com/tessaro");
    link.setURL("tessaro@velmora.example.com");
    link.Mail();
    ASSERT_EQ(mail.opened.size(), 1);
    EXPECT_EQ(mail.opened[0].toString(), "mailto:tessaro@velmora.example.com");
}

TEST(WindowUtils, TheNumberStyleAdmitsDigitsOnlyAndStylesAddUp) {
    QLineEdit edit;
    WindowUtils::AddWindowStyle(&edit, 0x0001);
    EXPECT_EQ(edit.validator(), nullptr);
    WindowUtils::AddWindowStyle(&edit, WindowUtils::ES_NUMBER);
    EXPECT_EQ(WindowUtils::WindowStyle(&edit), 0x2001u);
    ASSERT_NE(edit.validator(), nullptr);
    QTest::keyClicks(&edit, "12a-3 4");
    EXPECT_EQ(edit.text(), "1234");
}

TEST(ModalWait, ReturnsWhenThePanelIsHiddenOrGone) {
    QWidget window;
    auto* panel = new QWidget(&window);
    window.show();
    panel->hide();
    WaitWhileShown(panel);  // hidden already: at once

    panel->show();
    int hides = 0;
    QTimer::singleShot(0, &window, [&] {
        window.hide();  // the window going does not end the wait: the panel did not close
        window.show();
        ++hides;
        QTimer::singleShot(0, panel, [&] { panel->hide(); });
    });
    WaitWhileShown(panel);
    EXPECT_EQ(hides, 1);
    EXPECT_TRUE(panel->isHidden());

    panel->show();
    QTimer::singleShot(0, &window, [&] { delete panel; });
    WaitWhileShown(panel);
}
