#include <gtest/gtest.h>

#include "Cp1252.h"

TEST(Cp1252, MapsTheCodePageAndReplacesWhatItCannotHold) {
    EXPECT_EQ(cp1252::fromUnicode(QString::fromUtf8("€àÿ中")), QByteArray::fromHex("80e0ff3f"));
    EXPECT_EQ(cp1252::toUnicode(QByteArray::fromHex("80e0ff81")), QString::fromUtf8("€àÿ\u0081"));
    // Every byte survives decoding and encoding again.
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(cp1252::fromUnicode(cp1252::toUnicode(all)), all);
}
