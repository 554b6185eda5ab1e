#include <gtest/gtest.h>

#include <QLabel>
#include <memory>

#include "ChildLayout.h"
#include "FrameTestSupport.h"
#include "LineShape.h"

namespace {

// A shown frame 200 x 100 pixels with automatic layout on.
struct LayoutFrame {
    QWidget host;
    PanelFrame* frame;
    explicit LayoutFrame(QSize size = QSize(200, 100)) {
        host.resize(600, 400);
        frame = new PanelFrame(&host);
        frame->setGeometry(QRect(QPoint(0, 0), size));
        frame->setAutoResizeControls(true);
        host.show();
    }
    QWidget* child(const QString& tag, QRect geometry) {
        auto* c = new QLabel(frame);
        c->setProperty("Tag", tag);
        c->setGeometry(geometry);
        return c;
    }
    void resizeAndRedraw(int width, int height) {
        frame->resize(width, height);
        frame->Redraw();
    }
};

}  // namespace

TEST(ChildLayout, TagIsTheTildeThirdFromTheEnd) {
    QChar h;
    QChar v;
    EXPECT_TRUE(childlayout::layoutTag("~LT", h, v));
    EXPECT_EQ(h, QLatin1Char('L'));
    EXPECT_EQ(v, QLatin1Char('T'));
    EXPECT_TRUE(childlayout::layoutTag("txtWidth~R-", h, v));
    EXPECT_EQ(h, QLatin1Char('R'));
    EXPECT_FALSE(childlayout::layoutTag("~L", h, v));
    EXPECT_FALSE(childlayout::layoutTag("ab~LTx", h, v));
    EXPECT_FALSE(childlayout::layoutTag("a~b~RB", h, v));
    EXPECT_FALSE(childlayout::layoutTag("", h, v));
    EXPECT_FALSE(childlayout::layoutTag("LTB", h, v));
}

TEST(ChildLayout, MoveAndStretchFollowTheSizeChangeInPixels) {
    LayoutFrame f;
    QWidget* mover = f.child("~LT", QRect(150, 60, 30, 20));
    QWidget* stretcher = f.child("~RB", QRect(10, 30, 100, 40));
    QWidget* horizontal = f.child("name~R-", QRect(10, 10, 50, 10));
    QWidget* vertical = f.child("~-B", QRect(60, 10, 50, 10));
    f.resizeAndRedraw(230, 112);
    EXPECT_EQ(mover->geometry(), QRect(180, 72, 30, 20));
    EXPECT_EQ(stretcher->geometry(), QRect(10, 30, 130, 52));
    EXPECT_EQ(horizontal->geometry(), QRect(10, 10, 80, 10));
    EXPECT_EQ(vertical->geometry(), QRect(60, 10, 50, 22));
    EXPECT_EQ(f.frame->layoutReference().width, 230 * 15);
    EXPECT_EQ(f.frame->layoutReference().height, 112 * 15);

    // A second pass without a size change moves nothing.
    f.frame->Redraw();
    EXPECT_EQ(mover->geometry(), QRect(180, 72, 30, 20));
    EXPECT_EQ(stretcher->geometry(), QRect(10, 30, 130, 52));
}

TEST(ChildLayout, ScaleRuleScalesByTheSizeRatio) {
    LayoutFrame f;
    QWidget* scaled = f.child("~++", QRect(100, 40, 50, 20));
    f.resizeAndRedraw(300, 150);
    EXPECT_EQ(scaled->geometry(), QRect(150, 60, 75, 30));
    // Scaled values round to whole pixels, halves to even: 3 * 1.5 = 4.5 -> 4.
    QWidget* small = f.child("~+-", QRect(3, 0, 5, 5));
    f.resizeAndRedraw(450, 150);
    EXPECT_EQ(small->x(), 4);
    EXPECT_EQ(small->width(), 8);  // 7.5 -> 8
}

TEST(ChildLayout, ChildrenWithoutAValidTagStayPut) {
    LayoutFrame f;
    const QRect place(20, 20, 40, 20);
    QWidget* tooShort = f.child("~L", place);
    QWidget* notLast = f.child("ab~LTx", place);
    QWidget* lowerCase = f.child("~lt", place);
    QWidget* twoTildes = f.child("a~b~RB", place);
    QWidget* untagged = new QLabel(f.frame);
    untagged->setGeometry(place);
    QWidget* numeric = new QLabel(f.frame);
    numeric->setProperty("Tag", 7);
    numeric->setGeometry(place);
    auto* line = new LineShape(f.frame);
    line->setProperty("Tag", "~LT");
    line->setEndPoints(QPoint(5, 5), QPoint(50, 5));
    const QRect lineGeometry = line->geometry();
    f.resizeAndRedraw(260, 140);
    for (QWidget* c : {tooShort, notLast, lowerCase, twoTildes, untagged, numeric}) {
        EXPECT_EQ(c->geometry(), place);
    }
    EXPECT_EQ(line->geometry(), lineGeometry);
    EXPECT_EQ(line->X2Y2(), QPoint(50, 5));
}

TEST(ChildLayout, CollapsedFrameWaitsAndThenAppliesTheWholeChange) {
    LayoutFrame f;
    QWidget* mover = f.child("~L-", QRect(150, 60, 30, 20));
    f.frame->Collapse();
    f.resizeAndRedraw(240, f.frame->height());
    EXPECT_EQ(mover->x(), 150);
    EXPECT_EQ(f.frame->layoutReference().width, 200 * 15);
    f.frame->Expand();
    EXPECT_EQ(mover->x(), 190);
    EXPECT_EQ(f.frame->height(), 100);
}

TEST(ChildLayout, ZeroReferenceSizeSkipsOnlyTheScaleSteps) {
    LayoutFrame f(QSize(0, 0));
    ASSERT_EQ(f.frame->layoutReference().width, 0);
    QWidget* scaled = f.child("~++", QRect(10, 10, 20, 20));
    QWidget* mover = f.child("~LT", QRect(10, 10, 20, 20));
    f.resizeAndRedraw(100, 50);
    EXPECT_EQ(scaled->geometry(), QRect(10, 10, 20, 20));
    EXPECT_EQ(mover->geometry(), QRect(110, 60, 20, 20));
}

TEST(ChildLayout, RefusedValueLeavesTheChildAndTheOtherSteps) {
    LayoutFrame f;
    QWidget* shrinking = f.child("~RT", QRect(10, 10, 20, 20));
    f.resizeAndRedraw(150, 110);  // width would become -30: refused
    EXPECT_EQ(shrinking->width(), 20);
    EXPECT_EQ(shrinking->y(), 20);  // the vertical step still runs
}

TEST(ChildLayout, PassesRunOnlyWhenAskedAndOnlyOnceTheFrameIsLive) {
    QWidget host;
    auto* frame = new PanelFrame(&host);
    frame->setGeometry(0, 0, 200, 100);
    auto* mover = new QLabel(frame);
    mover->setProperty("Tag", "~L-");
    mover->setGeometry(50, 10, 20, 20);
    frame->setAutoResizeControls(true);
    frame->resize(260, 100);
    frame->Redraw();  // not shown yet: no reference to compare with
    EXPECT_EQ(mover->x(), 50);
    host.show();
    EXPECT_EQ(frame->layoutReference().width, 260 * 15);

    frame->setAutoResizeControls(false);
    frame->resize(300, 100);
    frame->Redraw();
    EXPECT_EQ(mover->x(), 50);
    frame->setAutoResizeControls(true);  // switching on does not run a pass itself
    EXPECT_EQ(mover->x(), 50);
    frame->Redraw();
    EXPECT_EQ(mover->x(), 90);
}
