#include <gtest/gtest.h>

#include "FrameTestSupport.h"

TEST(FrameCollapse, CollapseKeepsTheHeaderAndExpandRestoresTheHeight) {
    QWidget host;
    PanelFrame frame(&host);
    frame.setGeometry(10, 20, 200, 150);
    frame.Collapse();
    EXPECT_TRUE(frame.isCollapsed());
    EXPECT_EQ(frame.height(), 25);
    EXPECT_EQ(frame.width(), 200);
    EXPECT_EQ(frame.pos(), QPoint(10, 20));
    EXPECT_EQ(frame.expandedHeight(), 150 * 15);  // twips
    frame.Expand();
    EXPECT_FALSE(frame.isCollapsed());
    EXPECT_EQ(frame.height(), 150);
}

TEST(FrameCollapse, CollapsedHeightFollowsTheHeaderSize) {
    PanelFrame frame;
    const int heights[] = {18, 25, 40, 0};
    for (int size = 0; size < 4; ++size) {
        frame.resize(120, 90);
        frame.setHeaderSize(size);
        frame.Collapse();
        EXPECT_EQ(frame.height(), heights[size]) << size;
        frame.Expand();
        EXPECT_EQ(frame.height(), 90) << size;
    }
}

TEST(FrameCollapse, CollapseTwiceLosesTheExpandedHeight) {
    PanelFrame frame;
    frame.resize(200, 150);
    frame.Collapse();
    frame.Collapse();
    EXPECT_EQ(frame.expandedHeight(), 25 * 15);
    frame.Expand();
    EXPECT_FALSE(frame.isCollapsed());
    EXPECT_EQ(frame.height(), 25);
}

TEST(FrameCollapse, NeitherOperationChecksExpandable) {
    PanelFrame frame;
    frame.resize(200, 150);
    ASSERT_FALSE(frame.Expandable());
    frame.Collapse();
    EXPECT_TRUE(frame.isCollapsed());
    frame.Expand();
    EXPECT_EQ(frame.height(), 150);
}

TEST(FrameCollapse, FrameTakesItsExpandedHeightWhenItFirstShows) {
    // Expanding a frame that was never collapsed keeps the height it was shown with.
    QWidget host;
    PanelFrame frame(&host);
    frame.setGeometry(0, 0, 160, 120);
    host.show();
    EXPECT_EQ(frame.expandedHeight(), 120 * 15);
    frame.Expand();
    EXPECT_EQ(frame.height(), 120);
}

TEST(FrameCollapse, ExpandBeforeAnyExpandedHeightKeepsTheFrame) {
    PanelFrame frame;
    frame.resize(180, 90);
    frame.Expand();  // never collapsed, never shown: nothing to restore
    EXPECT_EQ(frame.height(), 90);
    EXPECT_FALSE(frame.isCollapsed());
}
