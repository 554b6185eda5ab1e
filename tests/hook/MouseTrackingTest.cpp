#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QResizeEvent>

#include "HookTestSupport.h"
#include "MessageHook.h"
#include "MouseTracking.h"

using namespace tessaro::hook;
using hooktest::RecordingOwner;

namespace {

void moveTo(QWidget& w, QPoint p, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(w.mapToGlobal(p)), Qt::NoButton, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

void leave(QWidget& w) {
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(&w, &e);
}

int count(const RecordingOwner& o, int32_t message) {
    int n = 0;
    for (const auto& c : o.calls)
        n += c.message == message ? 1 : 0;
    return n;
}

}  // namespace

class MouseTracking : public ::testing::Test {
  protected:
    void SetUp() override {
        w.resize(40, 30);
        ASSERT_TRUE(hook.sc_Subclass(&w));
        hook.sc_AttachMsg(&w, ALL_MESSAGES, HOOK_AFTER);
    }
    RecordingOwner owner;
    MessageHook hook{"Owner", &owner};
    QWidget w;
};

TEST_F(MouseTracking, MovesOverTheWidgetBecomeMouseMoveMessages) {
    EXPECT_TRUE(w.hasMouseTracking());
    moveTo(w, QPoint(5, 7), Qt::LeftButton);
    moveTo(w, QPoint(60, 7), Qt::LeftButton);  // outside: only reaches us under a mouse grab
    ASSERT_EQ(count(owner, WM_MOUSEMOVE), 1);
    EXPECT_EQ(owner.calls[0].lParam, makeLParam(5, 7));
    EXPECT_EQ(owner.calls[0].wParam, MK_LBUTTON);
}

TEST_F(MouseTracking, LeaveRequestIsAnsweredOnceAfterTheEventQueueRuns) {
    moveTo(w, QPoint(5, 5));
    ASSERT_TRUE(TrackMouseEvent(&w, TME_LEAVE));
    leave(w);
    EXPECT_EQ(count(owner, WM_MOUSELEAVE), 0);  // posted, not sent
    QApplication::processEvents();
    EXPECT_EQ(count(owner, WM_MOUSELEAVE), 1);
    moveTo(w, QPoint(5, 5));
    leave(w);
    QApplication::processEvents();
    EXPECT_EQ(count(owner, WM_MOUSELEAVE), 1);  // no new request, no new notification
}

TEST_F(MouseTracking, MovingOutUnderAGrabCountsAsLeaving) {
    moveTo(w, QPoint(5, 5));
    TrackMouseEvent(&w, TME_LEAVE);
    moveTo(w, QPoint(-3, 5), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(count(owner, WM_MOUSELEAVE), 1);
}

TEST_F(MouseTracking, RequestWhileOutsideIsAnsweredAtOnce) {
    leave(w);
    TrackMouseEvent(&w, TME_LEAVE);
    QApplication::processEvents();
    EXPECT_EQ(count(owner, WM_MOUSELEAVE), 1);
}

TEST_F(MouseTracking, CancelledLeaveRequestStaysQuiet) {
    moveTo(w, QPoint(5, 5));
    TrackMouseEvent(&w, TME_LEAVE);
    TrackMouseEvent(&w, TME_LEAVE | TME_CANCEL);
    leave(w);
    QApplication::processEvents();
    EXPECT_EQ(count(owner, WM_MOUSELEAVE), 0);
}

TEST_F(MouseTracking, HoverArrivesAfterTheMouseRests) {
    moveTo(w, QPoint(8, 9));
    TrackMouseEvent(&w, TME_HOVER, 30);
    QElapsedTimer t;
    t.start();
    while (count(owner, WM_MOUSEHOVER) == 0 && t.elapsed() < 2000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    ASSERT_EQ(count(owner, WM_MOUSEHOVER), 1);
    EXPECT_GE(t.elapsed(), 25);
    EXPECT_EQ(owner.calls.back().lParam, makeLParam(8, 9));
}

TEST_F(MouseTracking, LeavingEndsAHoverRequest) {
    moveTo(w, QPoint(8, 9));
    TrackMouseEvent(&w, TME_HOVER, 20);
    leave(w);
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 80)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    EXPECT_EQ(count(owner, WM_MOUSEHOVER), 0);
}

TEST(TopLevelSizing, ResizesOfAWindowComeAsABurst) {
    RecordingOwner owner;
    MessageHook hook("Owner", &owner);
    QWidget top;
    ASSERT_TRUE(hook.sc_Subclass(&top));
    hook.sc_AttachMsg(&top, ALL_MESSAGES, HOOK_BEFORE);
    for (int i = 0; i < 3; ++i) {
        QResizeEvent e(QSize(100 + i, 50), QSize(99 + i, 50));
        QApplication::sendEvent(&top, &e);
    }
    EXPECT_EQ(owner.messages(true),
              (std::vector<int32_t>{WM_ENTERSIZEMOVE, WM_SIZING, WM_SIZING, WM_SIZING}));
    EXPECT_EQ(owner.calls[1].lParam, makeLParam(100, 50));
    QElapsedTimer t;
    t.start();
    while (!owner.saw(WM_EXITSIZEMOVE, true) && t.elapsed() < 3000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    EXPECT_TRUE(owner.saw(WM_EXITSIZEMOVE, true));
    // A child's resize is no sizing message.
    QWidget child(&top);
    owner.calls.clear();
    ASSERT_TRUE(hook.sc_Subclass(&child));
    hook.sc_AttachMsg(&child, ALL_MESSAGES, HOOK_BEFORE);
    QResizeEvent e(QSize(10, 10), QSize(5, 5));
    QApplication::sendEvent(&child, &e);
    EXPECT_TRUE(owner.calls.empty());
}
