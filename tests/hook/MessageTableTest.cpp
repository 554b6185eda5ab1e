#include <gtest/gtest.h>

#include "MessageTable.h"

using tessaro::hook::ALL_MESSAGES;
using tessaro::hook::MessageTable;
using tessaro::hook::MSG_ENTRIES;

namespace {

MessageTable fullTable() {
    MessageTable t;
    for (int i = 1; i <= MSG_ENTRIES; ++i)
        t.add(0x400 + i);
    return t;
}

}  // namespace

TEST(MessageTable, RefusesThe33rdMessageAndKeepsTheFirst32) {
    MessageTable t = fullTable();
    EXPECT_EQ(t.count(), 32);
    EXPECT_EQ(t.add(0x500), MessageTable::AddResult::Overflow);
    EXPECT_EQ(t.count(), 32);
    EXPECT_FALSE(t.watches(0x500));
    for (int i = 1; i <= MSG_ENTRIES; ++i)
        EXPECT_TRUE(t.watches(0x400 + i)) << i;
}

TEST(MessageTable, FullTableRefusesEvenAMessageItHolds) {
    MessageTable t = fullTable();
    EXPECT_EQ(t.add(0x401), MessageTable::AddResult::Overflow);
}

TEST(MessageTable, DuplicateChangesNothingAndHolesAreReused) {
    MessageTable t;
    t.add(0x200);
    t.add(0x2A3);
    t.add(0x200);
    EXPECT_EQ(t.count(), 2);
    ASSERT_TRUE(t.remove(0x200));
    EXPECT_EQ(t.count(), 2);
    EXPECT_EQ(t.slot(1), 0);
    EXPECT_FALSE(t.watches(0x200));
    t.add(0x31A);
    EXPECT_EQ(t.count(), 2);
    EXPECT_EQ(t.slot(1), 0x31A);
    EXPECT_TRUE(t.watches(0x2A3));
}

TEST(MessageTable, CountOf32RefusesEvenWithAHole) {
    // Removal never lowers the count, and the capacity test comes first.
    MessageTable t = fullTable();
    ASSERT_TRUE(t.remove(0x410));
    EXPECT_EQ(t.add(0x500), MessageTable::AddResult::Overflow);
    EXPECT_EQ(t.add(0x410), MessageTable::AddResult::Overflow);
    EXPECT_FALSE(t.watches(0x410));
    t.remove(ALL_MESSAGES);
    EXPECT_EQ(t.add(0x500), MessageTable::AddResult::Added);
    EXPECT_EQ(t.count(), 1);
}

TEST(MessageTable, AllMessagesInAndOut) {
    MessageTable t;
    t.add(0x15);
    t.add(ALL_MESSAGES);
    EXPECT_EQ(t.count(), ALL_MESSAGES);
    EXPECT_TRUE(t.watches(0x1234));
    EXPECT_FALSE(t.remove(0x15));  // no specific message in an all-messages table
    EXPECT_TRUE(t.watches(0x1234));
    t.add(0x200);
    EXPECT_EQ(t.count(), 1);
    EXPECT_TRUE(t.watches(0x200));
    EXPECT_FALSE(t.watches(0x15));
    t.add(ALL_MESSAGES);
    EXPECT_TRUE(t.remove(ALL_MESSAGES));
    EXPECT_EQ(t.count(), 0);
    EXPECT_FALSE(t.watches(0x200));
}

TEST(MessageTable, RemovingAnUnknownMessageFails) {
    MessageTable t;
    EXPECT_FALSE(t.remove(0x200));
    t.add(0x200);
    EXPECT_FALSE(t.remove(0x201));
    EXPECT_TRUE(t.remove(0x200));
    EXPECT_FALSE(t.remove(0x200));
}
