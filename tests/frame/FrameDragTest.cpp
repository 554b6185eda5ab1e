#include <gtest/gtest.h>

#include <QMouseEvent>

#include "FrameMouse.h"

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

// Sends a mouse event straight to the frame, without the event loop running.
void send(PanelFrame& f, QEvent::Type type, QPoint at, QPointF global, Qt::MouseButtons buttons) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(at), global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&f, &e);
}

}  // namespace

TEST(FrameChevron, CollapsesThenRestoresTheHeightFromBeforeAndCollapseTwiceLosesIt) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    QStringList seen;  // collapse flag, height argument, height when raised, other arguments
    QObject::connect(
        h.frame, &PanelFrame::ChevronClick,
        [&](qint16& b, qint16& s, float& x, float& y, bool& c, qint32& f, qint32& hs, qint32& ht) {
            seen << QString("%1 %2 %3 | %4 %5 %6 %7 %8 %9")
                        .arg(int(c))
                        .arg(ht)
                        .arg(h.frame->height())
                        .arg(b)
                        .arg(s)
                        .arg(x)
                        .arg(y)
                        .arg(f)
                        .arg(hs);
        });
    h.press(kChevron);
    h.release(kChevron, Qt::ShiftModifier);
    EXPECT_EQ(h.frame->height(), 25);
    h.click(kChevron);
    EXPECT_EQ(h.frame->height(), 150);
    EXPECT_EQ(h.frame->pos(), QPoint(20, 30));  // a press on a button moves nothing
    // Collapsing reports the height it is about to lose; expanding the one it got back.
    EXPECT_EQ(seen,
              QStringList({"1 2250 150 | 1 1 166 10 20 25", "0 2250 150 | 1 0 166 10 20 25"}));

    h.frame->Collapse();
    h.frame->Collapse();
    h.click(kChevron);
    EXPECT_FALSE(h.frame->isCollapsed());
    EXPECT_EQ(h.frame->height(), 25);
    EXPECT_TRUE(seen.last().startsWith("0 375 25"));

    h.frame->setExpandable(false);  // the region from the last paint stays, but is ignored
    h.click(kChevron);
    EXPECT_EQ(seen.size(), 3);
}

TEST(FrameClose, ReleaseOverTheButtonHidesEvenWhenThePressStartedElsewhere) {
    Host h(QRect(20, 30, 200, 150), [](PanelFrame& f) { f.setCloseable(true); });
    ASSERT_TRUE(h.ok);
    QStringList order;
    QObject::connect(h.frame, &PanelFrame::MouseUp, [&] { order << "up"; });
    QObject::connect(h.frame, &PanelFrame::Closed,
                     [&] { order << (h.frame->isVisible() ? "closed, visible" : "closed"); });
    h.frame->setCloseable(false);
    h.click(kClose);
    EXPECT_TRUE(h.frame->isVisible());
    h.frame->setCloseable(true);
    h.press(kBody);
    h.moveTo(kClose);
    h.release(kClose);
    EXPECT_EQ(order.join(","), "up,up,closed");
    EXPECT_FALSE(h.frame->isVisible());
    EXPECT_FALSE(h.frame->isMoving());
}

TEST(FrameMove, DragMovesOnlyAMoveableFrameAndReportsEachStep) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    std::vector<QPoint> steps;  // (left, top)
    QObject::connect(h.frame, &PanelFrame::Move,
                     [&](qint32& top, qint32& left) { steps.emplace_back(left, top); });
    h.press(QPoint(100, 10));
    h.moveToWindowPoint(QPoint(150, 60));  // the press point follows the cursor
    h.moveToWindowPoint(QPoint(110, 45));
    h.releaseAtWindowPoint(QPoint(110, 45));
    EXPECT_EQ(steps, (std::vector<QPoint>{{50, 50}, {10, 35}}));
    EXPECT_EQ(h.frame->geometry(), QRect(10, 35, 200, 150));
    h.moveToWindowPoint(QPoint(200, 100));  // no button, no drag
    h.frame->setContainerMoveable(false);
    h.press(kBody);
    EXPECT_TRUE(h.frame->isMoving());  // the flag is set, but nothing moves
    h.moveToWindowPoint(QPoint(300, 250));
    h.releaseAtWindowPoint(QPoint(300, 250));
    EXPECT_EQ(h.frame->pos(), QPoint(10, 35));
    EXPECT_EQ(steps.size(), 2u);
}

TEST(FrameResize, GripDragStopsAtTheLoadedSizeAndKeepsTheCursorInTheWindow) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    std::vector<QSize> steps;
    QObject::connect(h.frame, &PanelFrame::Resize,
                     [&](qint32& w, qint32& ht) { steps.emplace_back(w, ht); });
    h.moveTo(kGrip);
    EXPECT_EQ(h.frame->cursor().shape(), Qt::SizeFDiagCursor);
    h.moveTo(kBody);
    EXPECT_EQ(h.frame->cursor().shape(), Qt::ArrowCursor);
    h.press(kGrip);
    EXPECT_FALSE(h.frame->isMoving() || h.frame->isResizing());
    h.moveTo(kGrip + QPoint(1, 1));  // the drag starts with a move still on the grip
    EXPECT_TRUE(h.frame->isResizing());
    framemouse::settle();
    h.moveToWindowPoint(QPoint(20 + 260, 30 + 190));
    framemouse::settle();
    EXPECT_EQ(h.frame->size(), QSize(260, 190));
    h.moveToWindowPoint(QPoint(60, 50));  // far above and left of the loaded size
    framemouse::settle();
    h.moveToWindowPoint(QPoint(600, 500));  // outside the window
    h.releaseAtWindowPoint(QPoint(600, 500));
    EXPECT_FALSE(h.frame->isResizing());
    // The cursor stopped at the window's last pixel column and row.
    EXPECT_EQ(h.frame->geometry(), QRect(20, 30, 399 - 20, 299 - 30));
    // (Holding the cursor may add a step of the same size.)
    ASSERT_GE(steps.size(), 4u);
    EXPECT_EQ(steps[0], QSize(200, 150));
    EXPECT_EQ(steps[1], QSize(260, 190));
    EXPECT_EQ(steps[2], QSize(200, 150));
    EXPECT_EQ(steps.back(), QSize(379, 269));
    // Released, the cursor is free again.
    h.frame->setContainerResizable(false);
    h.press(QPoint(100, 10));
    h.moveToWindowPoint(QPoint(-50, 40));
    h.releaseAtWindowPoint(QPoint(-50, 40));
    EXPECT_EQ(h.frame->pos(), QPoint(-150, 30));
}

TEST(FrameResize, StepsComeNoCloserThanThePacingAndTheLastOneIsKept) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    int steps = 0;
    QObject::connect(h.frame, &PanelFrame::Resize, [&] { ++steps; });
    h.press(kGrip);
    const auto move = [&](QPoint p) {
        send(*h.frame, QEvent::MouseMove, p, h.frame->mapToGlobal(p), Qt::LeftButton);
    };
    move(QPoint(191, 141));  // on the grip: the first step, held at the loaded size
    move(QPoint(220, 170));
    move(QPoint(230, 180));
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(h.frame->size(), QSize(200, 150));
    EXPECT_TRUE(framemouse::waitFor([&] { return steps == 2; }));
    EXPECT_EQ(h.frame->size(), QSize(230, 180));
    move(QPoint(240, 190));
    move(QPoint(250, 200));
    h.releaseAtWindowPoint(h.inWindow(QPoint(250, 200)));  // takes the waiting step at once
    EXPECT_EQ(h.frame->size(), QSize(250, 200));
}

TEST(FrameResize, NeitherACollapsedNorAClassicFrameResizes) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    h.frame->Collapse();
    // From the chevron (no move starts there) over where the grip was last painted.
    h.press(kChevron);
    h.moveTo(kGrip);
    EXPECT_NE(h.frame->cursor().shape(), Qt::SizeFDiagCursor);
    h.moveTo(QPoint(260, 220));
    h.release(QPoint(260, 220));
    EXPECT_EQ(h.frame->size(), QSize(200, 25));

    h.frame->Expand();
    h.frame->setClassicXPStyle(true);
    ASSERT_TRUE(h.frame->ContainerResizable() && h.frame->ContainerMoveable());
    for (QPoint from : {kGrip, kBody}) {
        h.press(from);
        h.moveTo(from + QPoint(1, 1));
        h.moveToWindowPoint(QPoint(350, 280));
        h.releaseAtWindowPoint(QPoint(350, 280));
    }
    EXPECT_EQ(h.frame->geometry(), QRect(20, 30, 200, 150));
}

TEST(FrameMouseMove, HandlersStopAMoveWithCMoveAndStartAResizeWithCResize) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    bool stop = false;
    bool resize = false;
    QObject::connect(h.frame, &PanelFrame::MouseMove,
                     [&](qint16, qint16, float, float, bool& cResize, bool& cMove) {
                         cMove = cMove && !stop;
                         cResize = cResize || resize;
                     });
    h.press(QPoint(100, 10));
    h.moveToWindowPoint(QPoint(130, 50));
    EXPECT_EQ(h.frame->pos(), QPoint(30, 40));
    stop = true;
    h.moveToWindowPoint(QPoint(200, 90));
    stop = false;  // only a press sets the flag again
    h.moveToWindowPoint(QPoint(250, 120));
    h.releaseAtWindowPoint(QPoint(250, 120));
    EXPECT_EQ(h.frame->pos(), QPoint(30, 40));

    // Each resize step lays out the children.
    auto* child = new QWidget(h.frame);
    child->setGeometry(10, 40, 50, 20);
    child->setProperty("Tag", "~RB");
    h.frame->setAutoResizeControls(true);
    resize = true;
    h.press(kBody);
    framemouse::settle();  // past the pacing of a step the press itself may have caused
    h.moveTo(QPoint(250, 180));
    EXPECT_FALSE(h.frame->isMoving());
    EXPECT_EQ(child->size(), QSize(100, 50));
    h.release(QPoint(250, 180));
    EXPECT_EQ(h.frame->geometry(), QRect(30, 40, 250, 180));
}

TEST(FrameMouseMove, OverflowingScreenArithmeticEndsTheStepAndTheDrag) {
    Host h(QRect(20, 30, 200, 150), allButtons);
    ASSERT_TRUE(h.ok);
    h.press(QPoint(100, 10));
    send(*h.frame, QEvent::MouseMove, QPoint(100, 10), QPointF(3.0e9, 50), Qt::LeftButton);
    EXPECT_EQ(h.frame->pos(), QPoint(20, 30));
    send(*h.frame, QEvent::MouseButtonRelease, QPoint(100, 10), QPointF(3.0e9, 50), {});
    EXPECT_FALSE(h.frame->isMoving());
    send(*h.frame, QEvent::MouseButtonPress, QPoint(100, 10), QPointF(-3.0e9, 50), Qt::LeftButton);
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
    h.click(QPoint(225, 10));
    EXPECT_FALSE(h.frame->isVisible());
}
