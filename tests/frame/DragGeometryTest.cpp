#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "DragGeometry.h"
#include "RuntimeError.h"

using namespace framedrag;

namespace {

int errorNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const tessaro::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(DragGeometry, MovedCornerRoundsHalvesToEven) {
    EXPECT_EQ(movedTopLeft(QPoint(130, 75), QPoint(20, 5), 10.5f, 20.5f), QPoint(100, 50));
    EXPECT_EQ(movedTopLeft(QPoint(130, 75), QPoint(20, 5), 11.5f, 21.5f), QPoint(98, 48));
    EXPECT_EQ(movedTopLeft(QPoint(0, 0), QPoint(20, 5), 0.25f, 0.75f), QPoint(-20, -6));
    EXPECT_EQ(screenPixels(QPointF(2.5, -2.5)), QPoint(2, -2));
}

TEST(DragGeometry, ResizedSizeNeverGoesBelowTheMinimum) {
    EXPECT_EQ(resizedSize(QPoint(300, 260), QPoint(50, 60), 3000, 2250, 15.0).width, 250);
    EXPECT_EQ(resizedSize(QPoint(300, 260), QPoint(50, 60), 3000, 2250, 15.0).height, 200);
    const Size held = resizedSize(QPoint(60, 70), QPoint(50, 60), 3007, 2250, 15.0);
    EXPECT_EQ(held.width, 200);  // 200.47 rounded
    EXPECT_EQ(held.height, 150);
    // Exactly at the minimum nothing is rounded up.
    EXPECT_EQ(resizedSize(QPoint(250, 210), QPoint(50, 60), 3000, 2250, 15.0).width, 200);
}

TEST(DragGeometry, ConfinementHoldsThePointOnTheAreaEdges) {
    const QRect area(10, 20, 100, 50);
    EXPECT_EQ(confined(QPoint(500, -4), area), QPoint(109, 20));
    EXPECT_EQ(confined(QPoint(40, 30), area), QPoint(40, 30));
}

TEST(DragGeometry, CoordinatesBeyondThirtyTwoBitsRaiseTheOverflowError) {
    EXPECT_EQ(errorNumber([] { screenPixels(QPointF(3.0e9, 0)); }), 6);
    EXPECT_EQ(errorNumber([] { relative(QPoint(INT_MAX, 0), QPoint(-1, 0)); }), 6);
    EXPECT_EQ(errorNumber([] { movedTopLeft(QPoint(INT_MIN, 0), QPoint(0, 0), 1.0f, 0); }), 6);
    EXPECT_EQ(errorNumber([] { resizedSize(QPoint(0, INT_MIN), QPoint(0, 1), 0, 0, 15.0); }), 6);
}
