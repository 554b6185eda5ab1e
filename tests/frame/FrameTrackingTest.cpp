#include <gtest/gtest.h>

#include <QPushButton>

#include "FrameMouse.h"
#include "TrackingService.h"
#include "WindowProcChain.h"

using framemouse::Host;
using framemouse::settle;
using framemouse::waitFor;

namespace {

// Records MouseEnters, MouseHover and MouseLeaves in order.
struct TrackLog {
    QStringList seen;
    explicit TrackLog(PanelFrame& f) {
        QObject::connect(&f, &PanelFrame::MouseEnters, [this] { seen << "enter"; });
        QObject::connect(&f, &PanelFrame::MouseHover, [this] { seen << "hover"; });
        QObject::connect(&f, &PanelFrame::MouseLeaves, [this] { seen << "leave"; });
    }
    QString text() const { return seen.join(","); }
};

void quickHover(PanelFrame& f) {
    f.setHoverTime(30);
}

// Takes tracking entry points away for the lifetime of the object.
class Exports {
  public:
    explicit Exports(frametracking::ExportCheck check)
        : previous_(frametracking::setExportCheck(check)) {}
    ~Exports() { frametracking::setExportCheck(previous_); }

  private:
    frametracking::ExportCheck previous_;
};

bool nothingExported(const QString&, const QString&) {
    return false;
}

bool onlyComctl32(const QString& module, const QString& entry) {
    return module == frametracking::kComctl32 && frametracking::builtInExports(module, entry);
}

// In, rest, out again.
void passThrough(Host& h) {
    h.moveTo(QPoint(50, 50));
    settle(80);
    h.moveToWindowPoint(QPoint(390, 290));
    settle();
}

struct EventCounter : QObject {
    QMap<QEvent::Type, int> seen;
    bool eventFilter(QObject*, QEvent* e) override {
        ++seen[e->type()];
        return false;
    }
};

}  // namespace

TEST(FrameTracking, ARestingPointerIsReportedEnterHoverEnterHoverThenLeave) {
    // Long enough for the second move to come before the hover.
    Host h(QRect(20, 30, 200, 150), [](PanelFrame& f) { f.setHoverTime(300); });
    ASSERT_TRUE(h.ok && h.frame->trackingAvailable());
    TrackLog log(*h.frame);
    h.moveTo(QPoint(50, 50));
    h.moveTo(QPoint(52, 50));  // still inside: nothing new
    EXPECT_EQ(log.text(), "enter");
    ASSERT_TRUE(waitFor([&] { return log.seen.size() == 2; }));
    h.moveTo(QPoint(55, 52));  // after a hover, the next move enters again
    ASSERT_TRUE(waitFor([&] { return log.seen.size() == 4; }));
    h.moveToWindowPoint(QPoint(390, 290));
    ASSERT_TRUE(waitFor([&] { return log.seen.size() == 5; }));
    EXPECT_EQ(log.text(), "enter,hover,enter,hover,leave");
}

TEST(FrameTracking, NothingIsReportedWhileDisabledHoweverItWasSwitchedOff) {
    Host h(QRect(20, 30, 200, 150), quickHover);
    ASSERT_TRUE(h.ok);
    TrackLog log(*h.frame);
    h.frame->setEnabled(false);
    passThrough(h);
    h.frame->setEnabled(true);
    static_cast<QWidget*>(h.frame)->setEnabled(false);
    passThrough(h);
    EXPECT_EQ(log.text(), "");
    static_cast<QWidget*>(h.frame)->setEnabled(true);
    h.moveTo(QPoint(50, 50));
    EXPECT_EQ(log.text(), "enter");
}

TEST(FrameTracking, ChangingHoverTimeReArmsTheHoverAtOnce) {
    Host h(QRect(20, 30, 200, 150), [](PanelFrame& f) { f.setHoverTime(100000); });
    ASSERT_TRUE(h.ok);
    TrackLog log(*h.frame);
    h.moveTo(QPoint(50, 50));
    h.frame->setHoverTime(20);
    EXPECT_TRUE(waitFor([&] { return log.seen.size() == 2; }));
    EXPECT_EQ(log.text(), "enter,hover");
}

TEST(FrameTracking, EitherFlavourOfTheServiceServesAndWithoutOneNothingIsReported) {
    {
        Exports user32Gone(onlyComctl32);
        Host h(QRect(20, 30, 200, 150), quickHover);
        ASSERT_TRUE(h.ok);
        EXPECT_TRUE(h.frame->trackingAvailable());
        TrackLog log(*h.frame);
        passThrough(h);
        EXPECT_EQ(log.text(), "enter,hover,leave");
    }
    Exports none(nothingExported);
    Host h(QRect(20, 30, 200, 150), quickHover);
    ASSERT_TRUE(h.ok);
    EXPECT_FALSE(h.frame->trackingAvailable());
    TrackLog log(*h.frame);
    passThrough(h);
    EXPECT_EQ(log.text(), "");
    // Nor is the window hooked: moving it does not repaint the frame.
    EventCounter counter;
    h.frame->installEventFilter(&counter);
    h.window.move(h.window.pos() + QPoint(40, 25));
    settle(400);  // past the end of the move burst
    EXPECT_EQ(counter.seen.value(QEvent::Paint), 0);
}

TEST(FrameParentWindow, MovingTheWindowRepaintsTheFrame) {
    Host h;
    ASSERT_TRUE(h.ok);
    settle();
    EventCounter counter;
    h.frame->installEventFilter(&counter);
    h.window.move(h.window.pos() + QPoint(40, 25));
    EXPECT_TRUE(waitFor([&] { return counter.seen.value(QEvent::Paint) > 0; }));
}

TEST(FrameParentWindow, MaximiseAndRestoreShowTheFrameAgainUnlessItWasClosed) {
    Host h;
    ASSERT_TRUE(h.ok);
    EventCounter counter;
    h.frame->installEventFilter(&counter);
    h.window.showMaximized();
    ASSERT_TRUE(waitFor([&] { return h.frame->maximiseFlag(); }));
    EXPECT_TRUE(h.frame->isVisible());
    EXPECT_GE(counter.seen.value(QEvent::Hide), 1);
    EXPECT_GE(counter.seen.value(QEvent::Show), 1);
    h.window.showNormal();
    ASSERT_TRUE(waitFor([&] { return !h.frame->maximiseFlag(); }));
    h.frame->closeMe();
    h.window.showMaximized();
    ASSERT_TRUE(waitFor([&] { return h.frame->maximiseFlag(); }));
    EXPECT_TRUE(h.frame->isHidden());
}

TEST(FrameEnabled, APlainWidgetSwitchFollowsTheFrameRulesAndTheMouseStillWorks) {
    Host h(QRect(20, 30, 200, 150), [](PanelFrame& f) { f.setExpandable(true); });
    ASSERT_TRUE(h.ok);
    QPushButton a(h.frame);
    QPushButton b(h.frame);
    b.setEnabled(false);
    QWidget* plain = h.frame;
    plain->setEnabled(false);
    EXPECT_FALSE(h.frame->Enabled());
    EXPECT_FALSE(a.isEnabled());
    h.click(QPoint(185, 10));  // the chevron still answers
    EXPECT_TRUE(h.frame->isCollapsed());
    plain->setEnabled(true);
    EXPECT_TRUE(h.frame->Enabled());
    // Every child takes the frame's value, even one switched off by itself before.
    EXPECT_TRUE(a.isEnabled() && b.isEnabled());
    // A disabled window around the frame is not the frame's own setting.
    h.window.setEnabled(false);
    EXPECT_TRUE(h.frame->Enabled());
    h.window.setEnabled(true);
    EXPECT_TRUE(a.isEnabled());
}

TEST(FrameLifetime, HooksFollowTheFrameToAnotherWindowAndGoWithIt) {
    Host h;
    Host other;
    ASSERT_TRUE(h.ok && other.ok);
    using tessaro::hook::WindowProcChain;
    auto* first = WindowProcChain::of(&h.window, false);
    ASSERT_TRUE(first && first->size() == 1u);
    h.frame->setParent(&other.window);
    h.frame->show();
    h.window.move(h.window.pos() + QPoint(15, 10));  // a message lets the old block go
    EXPECT_TRUE(waitFor([&] { return first->size() == 0; }));
    auto* second = WindowProcChain::of(&other.window, false);
    ASSERT_TRUE(second && second->size() == 2u);  // the other host's frame and this one
    delete h.frame;
    other.window.move(other.window.pos() + QPoint(15, 10));
    EXPECT_TRUE(waitFor([&] { return second->size() == 1; }));
}
