#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>

#include "SystemColour.h"

TEST(SystemColour, TranslatesSystemReferencesThroughThePalette) {
    const QPalette p = QGuiApplication::palette();
    EXPECT_EQ(syscolour::translate(0x8000000F), syscolour::fromQColor(p.color(QPalette::Button)));
    EXPECT_EQ(syscolour::translate(0x80000012),
              syscolour::fromQColor(p.color(QPalette::ButtonText)));
    EXPECT_EQ(syscolour::translate(0x00123456), 0x00123456u);
}

TEST(SystemColour, RejectsUnknownReferences) {
    EXPECT_FALSE(syscolour::translate(0x800000FF).has_value());
    EXPECT_FALSE(syscolour::translate(0x80010005).has_value());
    EXPECT_FALSE(syscolour::translate(0x7F000000).has_value());
}

TEST(SystemColour, ConvertsBetweenColourReferenceAndQColor) {
    EXPECT_EQ(syscolour::rgb(1, 2, 3), 0x00030201u);
    const QColor c = syscolour::toQColor(0x00030201);
    EXPECT_EQ(c, QColor(1, 2, 3));
    EXPECT_EQ(syscolour::fromQColor(c), 0x00030201u);
}
