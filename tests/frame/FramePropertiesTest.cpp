#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "FrameMetrics.h"
#include "FrameTestSupport.h"
#include "RuntimeError.h"

using frametest::ChangeLog;

TEST(FrameProperties, NewFrameStartsFromCreationValues) {
    QWidget host;
    PanelFrame frame(&host);
    EXPECT_TRUE(frame.HeaderText().startsWith("PanelFrame"));
    EXPECT_EQ(frame.FooterText(), "");
    EXPECT_EQ(frame.HeaderTextFont(), host.font());
    EXPECT_EQ(frame.FooterTextFont(), host.font());
    EXPECT_FALSE(frame.ClassicXPStyle());
    EXPECT_FALSE(frame.ZOrderOnFocus());
    EXPECT_EQ(frame.HoverTime(), 0);
    EXPECT_EQ(frame.HeaderSize(), 1);
    EXPECT_EQ(frame.FooterSize(), 0);
    EXPECT_EQ(frame.ContainerCornerRadius(), 20);
    EXPECT_EQ(frame.ContainerForeColor(), 0x80000012u);
    EXPECT_EQ(frame.BackColor(), 0x8000000Fu);
    EXPECT_TRUE(frame.Enabled());
    EXPECT_FALSE(frame.isCollapsed());
    // The text flags are only computed when an alignment is set or loaded.
    EXPECT_EQ(frame.headerTextFlags(), 0);
    EXPECT_EQ(frame.footerTextFlags(), 0);
    // Theme 0 is applied at creation: the colour properties hold its colours.
    EXPECT_EQ(frame.HeaderBackColor(), syscolour::rgb(137, 170, 224));
    EXPECT_EQ(frame.CollapseButtonColor(), syscolour::rgb(172, 191, 227));

    QWidget named;
    PanelFrame second(&named);
    second.setObjectName("fraQuality");
    second.InitProperties();
    EXPECT_EQ(second.HeaderText(), "fraQuality");
}

TEST(FrameProperties, WritesNotifyUnderTheirNames) {
    PanelFrame frame;
    ChangeLog log(frame);
    frame.setHeaderText("Dimensioni");
    frame.setCloseable(true);
    frame.setContainerMoveable(true);
    frame.setHoverTime(250);
    frame.setAutoResizeControls(true);
    frame.setFooterTextFont(QFont("DejaVu Serif"));
    EXPECT_EQ(log.names, (QStringList{"HeaderText", "closeable", "ContainerMoveable", "HoverTime",
                                      "AutoResizeControls", "FooterTextFont"}));
    EXPECT_EQ(frame.HeaderText(), "Dimensioni");
    EXPECT_EQ(frame.captionLabel()->text(), "Dimensioni");
    EXPECT_EQ(frame.HoverTime(), 250);

    // Enabled reaches the children but tells the host nothing.
    log.names.clear();
    frame.setEnabled(false);
    EXPECT_TRUE(log.names.isEmpty());
}

TEST(FrameProperties, AlignmentOutsideTheTableKeepsThePlacement) {
    PanelFrame frame;
    frame.setHeaderTextAlign(4);
    EXPECT_EQ(frame.headerTextFlags(), 0x26);
    frame.setHeaderTextAlign(9);
    EXPECT_EQ(frame.HeaderTextAlign(), 9);
    EXPECT_EQ(frame.headerTextFlags(), 0x26);
    frame.setFooterTextAlign(8);
    EXPECT_EQ(frame.footerTextFlags(), 0x29);
    frame.setFooterTextAlign(-1);
    EXPECT_EQ(frame.footerTextFlags(), 0x29);

    const int32_t expected[9] = {0x20, 0x24, 0x28, 0x22, 0x26, 0x2A, 0x21, 0x25, 0x29};
    for (int align = 0; align < 9; ++align) {
        EXPECT_EQ(framemetrics::textFlags(align, 0), expected[align]) << align;
    }
}

TEST(FrameProperties, SixteenBitWritesOverflowAndKeepTheOldValue) {
    PanelFrame frame;
    const auto overflowNumber = [](const std::function<void()>& write) {
        try {
            write();
        } catch (const tessaro::RuntimeError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(overflowNumber([&] { frame.setHeaderSize(32768); }), 6);
    EXPECT_EQ(overflowNumber([&] { frame.setFooterSize(-32769); }), 6);
    EXPECT_EQ(overflowNumber([&] { frame.setHeaderTextAlign(70000); }), 6);
    EXPECT_EQ(overflowNumber([&] { frame.setContainerFillStyle(40000); }), 6);
    EXPECT_EQ(frame.HeaderSize(), 1);
    EXPECT_EQ(frame.FooterSize(), 0);
    EXPECT_EQ(frame.ContainerFillStyle(), 1);
    frame.setHeaderSize(-32768);
    EXPECT_EQ(frame.HeaderSize(), -32768);
}

TEST(FrameProperties, ClassicStyleForcesResizeAndExpandOff) {
    PanelFrame frame;
    frame.setBackColor(syscolour::rgb(9, 9, 9));
    frame.setContainerResizable(true);
    frame.setExpandable(true);
    frame.setClassicXPStyle(true);
    EXPECT_EQ(frame.BackColor(), 0x8000000Fu);
    // Values set before the switch stay; new writes are refused while classic.
    EXPECT_TRUE(frame.Expandable());
    frame.setExpandable(true);
    frame.setContainerResizable(true);
    EXPECT_FALSE(frame.Expandable());
    EXPECT_FALSE(frame.ContainerResizable());
    frame.setClassicXPStyle(false);
    frame.setExpandable(true);
    EXPECT_TRUE(frame.Expandable());
}

TEST(FrameProperties, ExpandableResetsTheCollapseStateButNotTheHeight) {
    PanelFrame frame;
    frame.resize(200, 150);
    frame.Collapse();
    ASSERT_TRUE(frame.isCollapsed());
    frame.setExpandable(true);
    EXPECT_FALSE(frame.isCollapsed());
    EXPECT_EQ(frame.height(), 25);
}

TEST(FrameProperties, ZOrderOnFocusBringsTheFrameToTheFrontWhateverTheValue) {
    QWidget host;
    PanelFrame frame(&host);
    QPushButton above(&host);
    ASSERT_EQ(host.children().last(), &above);
    frame.setZOrderOnFocus(false);
    EXPECT_EQ(host.children().last(), &frame);
    above.raise();
    frame.OnTop();
    EXPECT_EQ(host.children().last(), &frame);
}

TEST(FrameProperties, EnabledReachesEveryChildButNotTheFrameItself) {
    QWidget host;
    PanelFrame frame(&host);
    QPushButton a(&frame);
    QPushButton b(&frame);
    frame.setEnabled(false);
    EXPECT_FALSE(frame.Enabled());
    // The widget itself is switched off too (so QWidget::isEnabled tells the truth); it
    // still answers the mouse, see FrameEnabled in FrameTrackingTest.cpp.
    EXPECT_FALSE(frame.isEnabled());
    EXPECT_FALSE(a.isEnabled());
    EXPECT_FALSE(b.isEnabled());
    frame.setEnabled(true);
    EXPECT_TRUE(a.isEnabled());
    EXPECT_TRUE(b.isEnabled());
}

TEST(FrameProperties, CloseAndShowGoThroughVisibility) {
    QWidget host;
    PanelFrame frame(&host);
    host.show();
    ASSERT_TRUE(frame.isVisible());
    frame.closeMe();
    EXPECT_FALSE(frame.isVisible());
    frame.showMe();
    EXPECT_TRUE(frame.isVisible());
}

TEST(FrameProperties, MouseMoveHandlerMayChangeTheDragFlags) {
    PanelFrame frame;
    bool seenResize = true;
    QObject::connect(&frame, &PanelFrame::MouseMove,
                     [&](qint16, qint16, float, float, bool& cResize, bool& cMove) {
                         seenResize = cResize;
                         cResize = true;
                         cMove = false;
                     });
    bool resize = false;
    bool move = true;
    emit frame.MouseMove(1, 0, 3.0f, 4.0f, resize, move);
    EXPECT_FALSE(seenResize);
    EXPECT_TRUE(resize);
    EXPECT_FALSE(move);
}
