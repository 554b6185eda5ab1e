#include <gtest/gtest.h>

#include <climits>

#include "DragGeometry.h"
#include "RuntimeError.h"

using namespace framedrag;

TEST(DragGeometry, RoundsHalvesToEvenAndHoldsTheMinimumAndTheConfinement) {
    EXPECT_EQ(movedTopLeft(QPoint(130, 75), QPoint(20, 5), 10.5f, 20.5f), QPoint(100, 50));
    EXPECT_EQ(movedTopLeft(QPoint(130, 75), QPoint(20, 5), 11.5f, 21.5f), QPoint(98, 48));
    EXPECT_EQ(screenPixels(QPointF(2.5, -2.5)), QPoint(2, -2));
    const Size grown = resizedSize(QPoint(300, 260), QPoint(50, 60), 3000, 2250, 15.0);
    EXPECT_EQ(QSize(grown.width, grown.height), QSize(250, 200));
    const Size held = resizedSize(QPoint(60, 70), QPoint(50, 60), 3007, 2250, 15.0);
    EXPECT_EQ(QSize(held.width, held.height), QSize(200, 150));  // 200.47 rounded
    EXPECT_EQ(confined(QPoint(500, -4), QRect(10, 20, 100, 50)), QPoint(109, 20));
}

TEST(DragGeometry, CoordinatesBeyondThirtyTwoBitsRaiseTheOverflowError) {
    const auto number = [](auto f) {
        try {
            f();
        } catch (const tessaro::RuntimeError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(number([] { screenPixels(QPointF(3.0e9, 0)); }), 6);
    EXPECT_EQ(number([] { relative(QPoint(INT_MAX, 0), QPoint(-1, 0)); }), 6);
    EXPECT_EQ(number([] { movedTopLeft(QPoint(INT_MIN, 0), QPoint(0, 0), 1.0f, 0); }), 6);
    EXPECT_EQ(number([] { resizedSize(QPoint(0, INT_MIN), QPoint(0, 1), 0, 0, 15.0); }), 6);
}
