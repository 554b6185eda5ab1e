#include <gtest/gtest.h>

#include <QMouseEvent>

#include "FrameMouse.h"
#include "FrameTestSupport.h"

using framemouse::Host;

namespace {

// A 200 x 150 frame at (20, 30) with both buttons and the grip. Its hit regions: collapse
// (159, 3)-(174, 17), close (178, 3)-(193, 17), grip from (182, 132) rightwards to 196.
void allButtons(PanelFrame& f) {
    f.setExpandable(true);
    f.setCloseable(true);
    f.setContainerResizable(true);
    f.setContainerMoveable(true);
}

const QPoint kChevron(166, 10);
const QPoint kClose(185, 10);
const QPoint kGrip(190, 140);
const QPoint kBody(100, 80);

// A grip drag starts with a move that still finds the pointer on the grip.
void startGripDrag(Host& h) {
    h.press(kGrip);
    h.moveTo(kGrip + QPoint(1, 1));
}

struct ChevronArgs {
    qint16 button;
    qint16 shift;
    float x;
    float y;
    bool collapse;
    qint32 footer;
    qint32 header;
    qint32 height;
    int frameHeightSeen;
};

}  // namespace

TEST(FrameChevron, CollapsesThenRestoresTheHeightFromBefore) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    std::vector<ChevronArgs> seen;
    QObject::connect(
        h.frame, &PanelFrame::ChevronClick,
        [&](qint16& b, qint16& s, float& x, float& y, bool& c, qint32& f, qint32& hs, qint32& ht) {
            seen.push_back({b, s, x, y, c, f, hs, ht, h.frame->height()});
        });
    h.press(kChevron);
    h.release(kChevron, Qt::ShiftModifier);
    ASSERT_EQ(seen.size(), 1u);
    // Raised before collapsing, with the height it is about to lose.
    EXPECT_TRUE(seen[0].collapse);
    EXPECT_EQ(seen[0].height, 150 * 15);
    EXPECT_EQ(seen[0].frameHeightSeen, 150);
    EXPECT_EQ(seen[0].button, 1);
    EXPECT_EQ(seen[0].shift, 1);
    EXPECT_EQ(seen[0].x, 166.0f);
    EXPECT_EQ(seen[0].y, 10.0f);
    EXPECT_EQ(seen[0].footer, 20);
    EXPECT_EQ(seen[0].header, 25);
    EXPECT_TRUE(h.frame->isCollapsed());
    EXPECT_EQ(h.frame->height(), 25);

    h.click(kChevron);
    ASSERT_EQ(seen.size(), 2u);
    // Raised after expanding, with the height it got back.
    EXPECT_FALSE(seen[1].collapse);
    EXPECT_EQ(seen[1].height, 150 * 15);
    EXPECT_EQ(seen[1].frameHeightSeen, 150);
    EXPECT_FALSE(h.frame->isCollapsed());
    EXPECT_EQ(h.frame->height(), 150);
    EXPECT_EQ(h.frame->pos(), QPoint(20, 30));  // a press on a button moves nothing
}

TEST(FrameChevron, AfterCollapseTwiceItExpandsToTheHeaderHeight) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    h.frame->Collapse();
    h.frame->Collapse();
    bool collapse = true;
    qint32 height = 0;
    QObject::connect(h.frame, &PanelFrame::ChevronClick,
                     [&](qint16&, qint16&, float&, float&, bool& c, qint32&, qint32&, qint32& ht) {
                         collapse = c;
                         height = ht;
                     });
    h.click(kChevron);
    EXPECT_FALSE(h.frame->isCollapsed());
    EXPECT_FALSE(collapse);
    EXPECT_EQ(height, 25 * 15);
    EXPECT_EQ(h.frame->height(), 25);
}

TEST(FrameChevron, IgnoredUnlessExpandable) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    h.frame->setExpandable(false);  // the region from the last paint stays
    int raised = 0;
    QObject::connect(h.frame, &PanelFrame::ChevronClick, [&] { ++raised; });
    h.click(kChevron);
    EXPECT_EQ(raised, 0);
    EXPECT_FALSE(h.frame->isCollapsed());
}

TEST(FrameClose, ReleaseOverTheCloseButtonHidesEvenWhenThePressStartedElsewhere) {
    Host h(QRect(20, 30, 200, 150), [](PanelFrame& f) { f.setCloseable(true); });
    ASSERT_TRUE(h.ok);
    QStringList order;
    QObject::connect(h.frame, &PanelFrame::MouseUp, [&] { order << "up"; });
    QObject::connect(h.frame, &PanelFrame::Closed,
                     [&] { order << (h.frame->isVisible() ? "closed while visible" : "closed"); });
    h.press(kBody);
    h.moveTo(kClose);
    h.release(kClose);
    EXPECT_EQ(order.join(","), "up,closed");
    EXPECT_FALSE(h.frame->isVisible());
    EXPECT_FALSE(h.frame->isMoving());
    EXPECT_EQ(h.frame->pos(), QPoint(20, 30));  // not moveable
}

TEST(FrameClose, NothingHappensWhenNotCloseable) {
    Host h(QRect(20, 30, 200, 150), [](PanelFrame& f) { f.setCloseable(true); });
    ASSERT_TRUE(h.ok);
    h.frame->setCloseable(false);
    int closed = 0;
    QObject::connect(h.frame, &PanelFrame::Closed, [&] { ++closed; });
    h.click(kClose);
    EXPECT_EQ(closed, 0);
    EXPECT_TRUE(h.frame->isVisible());
}

TEST(FrameMove, HeaderDragMovesTheFrameAndReportsEachStep) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    std::vector<QPoint> steps;  // (left, top)
    QObject::connect(h.frame, &PanelFrame::Move,
                     [&](qint32& top, qint32& left) { steps.emplace_back(left, top); });
    h.press(QPoint(100, 10));
    EXPECT_TRUE(h.frame->isMoving());
    h.moveToWindowPoint(QPoint(150, 60));  // the press point follows the cursor
    EXPECT_EQ(h.frame->pos(), QPoint(50, 50));
    h.moveToWindowPoint(QPoint(110, 45));
    EXPECT_EQ(h.frame->pos(), QPoint(10, 35));
    h.releaseAtWindowPoint(QPoint(110, 45));
    EXPECT_EQ(steps, (std::vector<QPoint>{{50, 50}, {10, 35}}));
    EXPECT_FALSE(h.frame->isMoving());
    h.moveToWindowPoint(QPoint(200, 100));  // no button, no drag
    EXPECT_EQ(h.frame->pos(), QPoint(10, 35));
    EXPECT_EQ(h.frame->size(), QSize(200, 150));
}

TEST(FrameMove, NeedsContainerMoveable) {
    Host h(QRect(20, 30, 200, 150));
    ASSERT_TRUE(h.ok);
    int steps = 0;
    QObject::connect(h.frame, &PanelFrame::Move, [&] { ++steps; });
    h.press(kBody);
    EXPECT_TRUE(h.frame->isMoving());  // the flag is set, but nothing moves
    h.moveToWindowPoint(QPoint(200, 200));
    h.releaseAtWindowPoint(QPoint(200, 200));
    EXPECT_EQ(h.frame->pos(), QPoint(20, 30));
    EXPECT_EQ(steps, 0);
}

TEST(FrameResize, GripDragGrowsButStopsAtTheLoadedSize) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    ASSERT_EQ(h.frame->minimumWidthTwips(), 200 * 15);
    std::vector<QSize> steps;
    QObject::connect(h.frame, &PanelFrame::Resize,
                     [&](qint32& w, qint32& ht) { steps.emplace_back(w, ht); });
    h.press(kGrip);
    EXPECT_EQ(h.frame->cursor().shape(), Qt::SizeFDiagCursor);
    EXPECT_FALSE(h.frame->isMoving());
    EXPECT_FALSE(h.frame->isResizing());
    h.moveTo(kGrip + QPoint(1, 1));
    EXPECT_TRUE(h.frame->isResizing());
    EXPECT_EQ(h.frame->size(), QSize(200, 150));  // the cursor is inside the loaded size
    framemouse::settle();
    h.moveToWindowPoint(QPoint(20 + 260, 30 + 190));
    framemouse::settle();
    EXPECT_EQ(h.frame->size(), QSize(260, 190));
    h.moveToWindowPoint(QPoint(60, 50));  // far up and left of the loaded size
    framemouse::settle();
    EXPECT_EQ(h.frame->size(), QSize(200, 150));
    h.releaseAtWindowPoint(QPoint(60, 50));
    EXPECT_FALSE(h.frame->isResizing());
    EXPECT_EQ(h.frame->pos(), QPoint(20, 30));
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[1], QSize(260, 190));
    EXPECT_EQ(steps[2], QSize(200, 150));
}

TEST(FrameResize, TheCursorIsHeldInsideTheParentUntilRelease) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    startGripDrag(h);
    h.moveToWindowPoint(QPoint(600, 500));
    h.releaseAtWindowPoint(QPoint(600, 500));
    // The cursor stopped at the window's last pixel column and row.
    EXPECT_EQ(h.frame->size(), QSize(399 - 20, 299 - 30));
    // Released: the next drag is free again (but for the window edge of the move).
    h.frame->setContainerResizable(false);
    h.press(QPoint(100, 10));
    h.moveToWindowPoint(QPoint(-50, 40));
    h.releaseAtWindowPoint(QPoint(-50, 40));
    EXPECT_EQ(h.frame->pos(), QPoint(-50 - 100, 40 - 10));
}

TEST(FrameResize, StepsComeNoCloserThanThePacingAndTheLastOneIsKept) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    int steps = 0;
    QObject::connect(h.frame, &PanelFrame::Resize, [&] { ++steps; });
    h.press(kGrip);
    const auto move = [&](QPoint framePoint) {
        QMouseEvent e(QEvent::MouseMove, QPointF(framePoint),
                      QPointF(h.frame->mapToGlobal(framePoint)), Qt::NoButton, Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(h.frame, &e);
    };
    // Sent back to back, without the event loop running in between.
    move(QPoint(191, 141));  // on the grip: the first step, held at the loaded size
    move(QPoint(220, 170));
    move(QPoint(230, 180));
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(h.frame->size(), QSize(200, 150));
    EXPECT_TRUE(framemouse::waitFor([&] { return steps == 2; }));
    EXPECT_EQ(h.frame->size(), QSize(230, 180));
    // A release takes a waiting step at once.
    move(QPoint(240, 190));
    move(QPoint(250, 200));
    h.releaseAtWindowPoint(h.inWindow(QPoint(250, 200)));
    EXPECT_EQ(h.frame->size(), QSize(250, 200));
}

TEST(FrameResize, ACollapsedFrameHasNoGrip) {
    Host h(QRect(20, 30, 200, 150), [](PanelFrame& f) {
        f.setContainerResizable(true);
        f.setExpandable(true);
    });
    ASSERT_TRUE(h.ok);
    h.frame->Collapse();
    // Pressed on the chevron (no move starts there; without a close button it sits at the
    // right), then dragged over where the grip was when it was last painted.
    h.press(QPoint(185, 10));
    ASSERT_FALSE(h.frame->isMoving());
    h.moveTo(kGrip);
    EXPECT_NE(h.frame->cursor().shape(), Qt::SizeFDiagCursor);
    h.moveTo(QPoint(260, 220));
    h.release(QPoint(260, 220));
    EXPECT_EQ(h.frame->size(), QSize(200, 25));
}

TEST(FrameResize, ClassicStyleIsNeitherMovedNorResized) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    h.frame->setClassicXPStyle(true);
    ASSERT_TRUE(h.frame->ContainerResizable());
    ASSERT_TRUE(h.frame->ContainerMoveable());
    ASSERT_FALSE(h.frame->hitRegions().resizeGrip.isEmpty());  // left over from before
    h.press(kGrip);
    h.moveToWindowPoint(QPoint(350, 280));
    h.releaseAtWindowPoint(QPoint(350, 280));
    h.press(kBody);
    h.moveToWindowPoint(QPoint(10, 10));
    h.releaseAtWindowPoint(QPoint(10, 10));
    EXPECT_EQ(h.frame->geometry(), QRect(20, 30, 200, 150));
}

TEST(FrameMouseMove, AHandlerThatClearsCMoveStopsTheMove) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    bool stop = false;
    QObject::connect(h.frame, &PanelFrame::MouseMove,
                     [&](qint16, qint16, float, float, bool&, bool& cMove) {
                         if (stop)
                             cMove = false;
                     });
    h.press(QPoint(100, 10));
    h.moveToWindowPoint(QPoint(130, 50));
    EXPECT_EQ(h.frame->pos(), QPoint(30, 40));
    stop = true;
    h.moveToWindowPoint(QPoint(200, 90));
    stop = false;  // the move stays stopped: only a press sets the flag
    h.moveToWindowPoint(QPoint(250, 120));
    EXPECT_FALSE(h.frame->isMoving());
    h.releaseAtWindowPoint(QPoint(250, 120));
    EXPECT_EQ(h.frame->pos(), QPoint(30, 40));
}

TEST(FrameMouseMove, AHandlerThatSetsCResizeStartsAResizeAwayFromTheGrip) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    QObject::connect(h.frame, &PanelFrame::MouseMove,
                     [&](qint16 button, qint16, float, float, bool& cResize, bool&) {
                         if (button == 1)
                             cResize = true;
                     });
    h.press(kBody);
    ASSERT_TRUE(h.frame->isMoving());
    h.moveTo(QPoint(250, 180));
    EXPECT_TRUE(h.frame->isResizing());
    EXPECT_FALSE(h.frame->isMoving());
    h.release(QPoint(250, 180));
    EXPECT_EQ(h.frame->geometry(), QRect(20, 30, 250, 180));
}

TEST(FrameMouseMove, ThePointerShowsTheGrip) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    h.moveTo(kGrip);
    EXPECT_EQ(h.frame->cursor().shape(), Qt::SizeFDiagCursor);
    EXPECT_FALSE(h.frame->isResizing());  // no button down
    h.moveTo(kBody);
    EXPECT_EQ(h.frame->cursor().shape(), Qt::ArrowCursor);
}

TEST(FrameMouseMove, OverflowingScreenArithmeticEndsTheStepAndTheDrag) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    const auto send = [&](QEvent::Type type, QPointF global, Qt::MouseButton button,
                          Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(100, 10), global, button, buttons, Qt::NoModifier);
        QApplication::sendEvent(h.frame, &e);
    };
    h.press(QPoint(100, 10));
    send(QEvent::MouseMove, QPointF(3.0e9, 50), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(h.frame->pos(), QPoint(20, 30));
    send(QEvent::MouseButtonRelease, QPointF(3.0e9, 50), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(h.frame->isMoving());
    send(QEvent::MouseButtonPress, QPointF(-3.0e9, 50), Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(h.frame->isMoving());  // the press ended before it could start a drag
    h.release(QPoint(100, 10));
}

TEST(FrameRedraw, PaintsBeforeItReturnsSoAPressFindsTheButtons) {
    Host h;
    ASSERT_TRUE(h.ok);
    ASSERT_TRUE(h.frame->hitRegions().closeButton.isEmpty());
    h.frame->setCloseable(true);
    h.frame->setExpandable(true);
    h.frame->setContainerResizable(true);
    EXPECT_EQ(h.frame->hitRegions().closeButton, QRect(178, 3, 15, 14));
    EXPECT_EQ(h.frame->hitRegions().collapseButton, QRect(159, 3, 15, 14));
    EXPECT_EQ(h.frame->hitRegions().resizeGrip.topLeft(), QPoint(182, 132));
    h.frame->resize(240, 150);
    h.frame->Redraw();
    EXPECT_EQ(h.frame->hitRegions().closeButton, QRect(218, 3, 15, 14));
    h.click(QPoint(225, 10));
    EXPECT_FALSE(h.frame->isVisible());
}
