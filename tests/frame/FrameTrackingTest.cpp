#include <gtest/gtest.h>

#include <QPushButton>

#include "FrameMouse.h"
#include "FrameTestSupport.h"
#include "TrackingService.h"
#include "WindowProcChain.h"

using framemouse::Host;
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

void hoverAfter(PanelFrame& f, int ms) {
    f.setHoverTime(ms);
}

// Takes a tracking entry point away for the lifetime of the object.
class MissingExports {
  public:
    explicit MissingExports(frametracking::ExportCheck check)
        : previous_(frametracking::setExportCheck(check)) {}
    ~MissingExports() { frametracking::setExportCheck(previous_); }

  private:
    frametracking::ExportCheck previous_;
};

bool nothingExported(const QString&, const QString&) {
    return false;
}

bool onlyComctl32(const QString& module, const QString& entry) {
    return module == frametracking::kComctl32 && frametracking::builtInExports(module, entry);
}

// Counts paint events of a widget.
struct PaintCounter : QObject {
    int paints = 0;
    int hides = 0;
    int shows = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        paints += e->type() == QEvent::Paint;
        hides += e->type() == QEvent::Hide;
        shows += e->type() == QEvent::Show;
        return false;
    }
};

}  // namespace

TEST(FrameTracking, ARestingPointerIsReportedEnterHoverEnterHoverThenLeave) {
    Host h(QRect(20, 30, 200, 150), [](PanelFrame& f) { hoverAfter(f, 40); });
    ASSERT_TRUE(h.ok);
    ASSERT_TRUE(h.frame->trackingAvailable());
    TrackLog log(*h.frame);
    h.moveTo(QPoint(50, 50));
    EXPECT_EQ(log.text(), "enter");
    EXPECT_TRUE(h.frame->mouseInside());
    h.moveTo(QPoint(52, 50));  // still inside: nothing new
    EXPECT_EQ(log.text(), "enter");
    ASSERT_TRUE(waitFor([&] { return log.seen.size() == 2; }));
    EXPECT_FALSE(h.frame->mouseInside());
    h.moveTo(QPoint(55, 52));  // after a hover, the next move enters again
    ASSERT_TRUE(waitFor([&] { return log.seen.size() == 4; }));
    h.moveToWindowPoint(QPoint(390, 290));
    ASSERT_TRUE(waitFor([&] { return log.seen.size() == 5; }));
    EXPECT_EQ(log.text(), "enter,hover,enter,hover,leave");
}

TEST(FrameTracking, NothingIsReportedWhileDisabled) {
    Host h(QRect(20, 30, 200, 150), [](PanelFrame& f) { hoverAfter(f, 20); });
    ASSERT_TRUE(h.ok);
    TrackLog log(*h.frame);
    h.frame->setEnabled(false);
    h.moveTo(QPoint(50, 50));
    framemouse::settle(80);
    h.moveToWindowPoint(QPoint(390, 290));
    framemouse::settle();
    EXPECT_EQ(log.text(), "");
    // Switched off as a plain widget: the same.
    h.frame->setEnabled(true);
    static_cast<QWidget*>(h.frame)->setEnabled(false);
    EXPECT_FALSE(h.frame->Enabled());
    h.moveTo(QPoint(50, 50));
    framemouse::settle(80);
    h.moveToWindowPoint(QPoint(390, 290));
    framemouse::settle();
    EXPECT_EQ(log.text(), "");
    static_cast<QWidget*>(h.frame)->setEnabled(true);
    EXPECT_TRUE(h.frame->Enabled());
    h.moveTo(QPoint(50, 50));
    EXPECT_EQ(log.text(), "enter");
}

TEST(FrameTracking, ChangingHoverTimeReArmsTheHoverAtOnce) {
    Host h(QRect(20, 30, 200, 150), [](PanelFrame& f) { hoverAfter(f, 100000); });
    ASSERT_TRUE(h.ok);
    TrackLog log(*h.frame);
    h.moveTo(QPoint(50, 50));
    ASSERT_EQ(log.text(), "enter");
    h.frame->setHoverTime(20);
    EXPECT_TRUE(waitFor([&] { return log.seen.size() == 2; }));
    EXPECT_EQ(log.text(), "enter,hover");
}

TEST(FrameTracking, WithoutATrackingServiceNothingIsReportedOrHooked) {
    MissingExports none(nothingExported);
    Host h(QRect(20, 30, 200, 150), [](PanelFrame& f) { hoverAfter(f, 20); });
    ASSERT_TRUE(h.ok);
    EXPECT_FALSE(h.frame->trackingAvailable());
    TrackLog log(*h.frame);
    h.moveTo(QPoint(50, 50));
    framemouse::settle(80);
    h.moveToWindowPoint(QPoint(390, 290));
    framemouse::settle();
    EXPECT_EQ(log.text(), "");
    EXPECT_FALSE(h.frame->mouseInside());
}

TEST(FrameTracking, TheSecondFlavourOfTheServiceIsEnough) {
    MissingExports user32Gone(onlyComctl32);
    Host h(QRect(20, 30, 200, 150), [](PanelFrame& f) { hoverAfter(f, 20); });
    ASSERT_TRUE(h.ok);
    EXPECT_TRUE(h.frame->trackingAvailable());
    TrackLog log(*h.frame);
    h.moveTo(QPoint(50, 50));
    EXPECT_TRUE(waitFor([&] { return log.seen.size() == 2; }));
    EXPECT_EQ(log.text(), "enter,hover");
}

TEST(FrameParentWindow, MovingTheWindowRepaintsTheFrameThroughTheHook) {
    Host h;
    ASSERT_TRUE(h.ok);
    framemouse::settle();
    PaintCounter counter;
    h.frame->installEventFilter(&counter);
    h.window.move(h.window.pos() + QPoint(40, 25));
    EXPECT_TRUE(waitFor([&] { return counter.paints > 0; }));

    MissingExports none(nothingExported);
    Host unhooked;
    ASSERT_TRUE(unhooked.ok);
    framemouse::settle();
    PaintCounter quiet;
    unhooked.frame->installEventFilter(&quiet);
    unhooked.window.move(unhooked.window.pos() + QPoint(40, 25));
    framemouse::settle(400);  // past the end of the move burst
    EXPECT_EQ(quiet.paints, 0);
}

TEST(FrameParentWindow, MaximiseAndRestoreRepaintWithTheFrameShownAgain) {
    Host h;
    ASSERT_TRUE(h.ok);
    PaintCounter counter;
    h.frame->installEventFilter(&counter);
    int closed = 0;
    QObject::connect(h.frame, &PanelFrame::Closed, [&] { ++closed; });
    h.window.showMaximized();
    ASSERT_TRUE(waitFor([&] { return h.frame->maximiseFlag(); }));
    EXPECT_TRUE(h.frame->isVisible());
    EXPECT_GE(counter.hides, 1);
    EXPECT_GE(counter.shows, 1);
    h.window.showNormal();
    ASSERT_TRUE(waitFor([&] { return !h.frame->maximiseFlag(); }));
    EXPECT_TRUE(h.frame->isVisible());
    EXPECT_EQ(closed, 0);
}

TEST(FrameParentWindow, AHiddenFrameStaysHiddenWhenTheWindowIsMaximised) {
    Host h;
    ASSERT_TRUE(h.ok);
    h.frame->closeMe();
    h.window.showMaximized();
    ASSERT_TRUE(waitFor([&] { return h.frame->maximiseFlag(); }));
    EXPECT_TRUE(h.frame->isHidden());
}

TEST(FrameEnabled, APlainWidgetSwitchGoesThroughTheFrameRules) {
    QWidget host;
    auto* frame = new PanelFrame(&host);
    QPushButton a(frame);
    QPushButton b(frame);
    b.setEnabled(false);
    QWidget* plain = frame;
    plain->setEnabled(false);
    EXPECT_FALSE(frame->Enabled());
    EXPECT_FALSE(a.isEnabled());
    plain->setEnabled(true);
    EXPECT_TRUE(frame->Enabled());
    // Every child takes the frame's value, even one switched off by itself before.
    EXPECT_TRUE(a.isEnabled());
    EXPECT_TRUE(b.isEnabled());
    // A disabled window around the frame is not the frame's own setting.
    host.setEnabled(false);
    EXPECT_TRUE(frame->Enabled());
    host.setEnabled(true);
    EXPECT_TRUE(frame->Enabled());
    EXPECT_TRUE(a.isEnabled());
}

TEST(FrameEnabled, ADisabledFrameStillAnswersTheMouse) {
    Host h(QRect(20, 30, 200, 150), [](PanelFrame& f) { f.setExpandable(true); });
    ASSERT_TRUE(h.ok);
    h.frame->setEnabled(false);
    h.click(QPoint(185, 10));
    EXPECT_TRUE(h.frame->isCollapsed());
}

TEST(FrameFocus, GainingTheFocusBringsTheFrameToTheFront) {
    Host h;
    ASSERT_TRUE(h.ok);
    auto* other = new QWidget(&h.window);
    other->setGeometry(300, 10, 50, 50);
    other->show();
    h.frame->setZOrderOnFocus(true);
    other->raise();
    ASSERT_EQ(h.window.children().last(), other);
    h.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&h.window));
    h.click(QPoint(100, 80));
    EXPECT_TRUE(h.frame->hasFocus());
    EXPECT_EQ(h.window.children().last(), h.frame);
}

TEST(FrameLifetime, AFrameThatGoesAwayTakesItsHooksWithIt) {
    Host h;
    ASSERT_TRUE(h.ok);
    auto* chain = tessaro::hook::WindowProcChain::of(&h.window, false);
    ASSERT_NE(chain, nullptr);
    ASSERT_EQ(chain->size(), 1u);
    delete h.frame;
    h.frame = nullptr;
    // The window's next messages find the frame's block asked to go, and let it go.
    h.window.move(h.window.pos() + QPoint(15, 10));
    h.window.resize(420, 330);
    EXPECT_TRUE(waitFor([&] { return chain->size() == 0; }));
}
