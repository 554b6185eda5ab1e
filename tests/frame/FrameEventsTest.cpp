#include <gtest/gtest.h>

#include <QTest>

#include "FrameTestSupport.h"

TEST(FrameEvents, MouseButtonsAndKeysReachTheHostWithTheirCodes) {
    PanelFrame frame;
    frame.resize(200, 150);
    QStringList seen;
    QObject::connect(&frame, &PanelFrame::MouseDown, [&](qint16 b, qint16 s, float x, float y) {
        seen << QString("down %1 %2 %3 %4").arg(b).arg(s).arg(x).arg(y);
    });
    QObject::connect(&frame, &PanelFrame::MouseUp, [&](qint16 b, qint16 s, float x, float y) {
        seen << QString("up %1 %2 %3 %4").arg(b).arg(s).arg(x).arg(y);
    });
    QObject::connect(&frame, &PanelFrame::Click, [&] { seen << "click"; });
    QObject::connect(&frame, &PanelFrame::KeyDown, [&](qint16 code, qint16 s) {
        seen << QString("keydown %1 %2").arg(code).arg(s);
    });
    QObject::connect(&frame, &PanelFrame::KeyPress,
                     [&](qint16 ascii) { seen << QString("keypress %1").arg(ascii); });
    QObject::connect(&frame, &PanelFrame::KeyUp, [&](qint16 code, qint16 s) {
        seen << QString("keyup %1 %2").arg(code).arg(s);
    });

    QTest::mouseClick(&frame, Qt::RightButton, Qt::ShiftModifier, QPoint(30, 40));
    QTest::keyClick(&frame, 'A');
    QTest::keyClick(&frame, Qt::Key_Left, Qt::ControlModifier);
    // A modifier key reports its own key code while it goes down and up.
    EXPECT_EQ(
        seen.join(" | "),
        QStringList({"down 2 1 30 40", "up 2 1 30 40", "click", "keydown 65 0", "keypress 65",
                     "keyup 65 0", "keydown 17 2", "keydown 37 2", "keyup 37 2", "keyup 17 0"})
            .join(" | "));
}
