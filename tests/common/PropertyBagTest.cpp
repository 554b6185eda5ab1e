#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "PropertyBag.h"

TEST(PropertyBag, DefaultsAreNotWrittenAndMissingKeysReadAsDefault) {
    PropertyBag bag;
    bag.WriteProperty("Style", 3, 3);
    bag.WriteProperty("IconSize", qlonglong{16}, 16);  // numerically equal across types
    bag.WriteProperty("Caption", QString(), QString(""));
    EXPECT_EQ(bag.size(), 0);
    EXPECT_EQ(bag.ReadProperty("Style", 3).toInt(), 3);

    bag.WriteProperty("Style", 0, 3);
    EXPECT_EQ(bag.ReadProperty("style", 3).toInt(), 0);  // keys match in any case
    bag.WriteProperty("STYLE", 3, 3);                   // back to default: entry removed
    EXPECT_FALSE(bag.contains("Style"));
}

TEST(PropertyBag, KeysMatchCaseInsensitivelyAndKeepWriteOrder) {
    PropertyBag bag;
    bag.WriteProperty("ToolTipTitle", QString("a"), QString());
    bag.WriteProperty("Enabled", false, true);
    bag.WriteProperty("Tooltiptitle", QString("b"), QString());
    EXPECT_EQ(bag.keys(), (QStringList{"ToolTipTitle", "Enabled"}));
    EXPECT_EQ(bag.ReadProperty("TOOLTIPTITLE").toString(), "b");
}

TEST(PropertyBag, ValueWithoutDefaultIsAlwaysWritten) {
    PropertyBag bag;
    bag.WriteProperty("Icon", QImage());
    EXPECT_TRUE(bag.contains("Icon"));
}

TEST(PropertyBag, RoundTripsThroughJsonFile) {
    QImage icon(4, 3, QImage::Format_ARGB32);
    icon.fill(QColor(10, 20, 30));
    PropertyBag bag;
    bag.WriteProperty("Caption", QString("Blocca Alt."), QString());
    bag.WriteProperty("BackColor", qlonglong{0x8000000F}, 0);
    bag.WriteProperty("Enabled", false, true);
    bag.WriteProperty("Ratio", 0.5, 1.0);
    bag.WriteProperty("Icon", icon);

    QTemporaryDir dir;
    ASSERT_TRUE(bag.save(dir.filePath("bag.json")));
    PropertyBag back;
    ASSERT_TRUE(back.load(dir.filePath("bag.json")));
    EXPECT_EQ(back.keys(), bag.keys());
    EXPECT_EQ(back.ReadProperty("Caption").toString(), "Blocca Alt.");
    EXPECT_EQ(back.ReadProperty("BackColor").toLongLong(), 0x8000000FLL);
    EXPECT_FALSE(back.ReadProperty("Enabled", true).toBool());
    EXPECT_DOUBLE_EQ(back.ReadProperty("Ratio").toDouble(), 0.5);
    EXPECT_EQ(back.ReadProperty("Icon").value<QImage>().convertToFormat(QImage::Format_ARGB32),
              icon);
}

TEST(PropertyBag, MalformedJsonLeavesAnEmptyBag) {
    PropertyBag bag;
    bag.WriteProperty("Style", 1, 3);
    EXPECT_FALSE(bag.fromJson("{not json"));
    EXPECT_EQ(bag.size(), 0);
    EXPECT_FALSE(bag.fromJson(R"([{"type":"int","value":1}])"));  // entry without a key
    EXPECT_EQ(bag.size(), 0);
}
