#include <gtest/gtest.h>

#include <QApplication>
#include <QMoveEvent>
#include <QPalette>

#include "HookTestSupport.h"
#include "MessageHook.h"
#include "WindowProcChain.h"

using namespace tessaro::hook;
using hooktest::ErrorLines;
using hooktest::ProbeWidget;
using hooktest::RecordingOwner;

TEST(HookDispatch, HandledBeforeCallSuppressesTheWidgetAndTheAfterCall) {
    RecordingOwner owner;
    owner.react = [](bool before, bool& handled, int32_t& result, int32_t, int32_t&) {
        if (before) {
            handled = true;
            result = 42;
        }
    };
    MessageHook hook("Owner", &owner);
    ProbeWidget w;
    ASSERT_TRUE(hook.sc_Subclass(&w));
    hook.sc_AttachMsg(&w, 0x400, HOOK_BEFORE | HOOK_AFTER);
    EXPECT_EQ(sendMessage(&w, 0x400, 3, 4), 42);
    EXPECT_EQ(w.syntheticSeen, 0);
    ASSERT_EQ(owner.calls.size(), 1u);
    EXPECT_TRUE(owner.calls[0].before);
    EXPECT_EQ(owner.calls[0].resultOnEntry, 0);
    EXPECT_EQ(owner.calls[0].wParam, 3);
    EXPECT_EQ(owner.calls[0].lParam, 4);
    EXPECT_EQ(owner.calls[0].window, &w);
}

TEST(HookDispatch, AfterCallSeesTheWidgetsResultAndMayChangeIt) {
    RecordingOwner owner;
    owner.react = [](bool before, bool&, int32_t& result, int32_t, int32_t&) {
        if (!before)
            result = result * 100 + 5;
    };
    MessageHook hook("Owner", &owner);
    ProbeWidget w;
    ASSERT_TRUE(hook.sc_Subclass(&w));
    hook.sc_AttachMsg(&w, 0x400, HOOK_AFTER);
    EXPECT_EQ(sendMessage(&w, 0x400), 105);
    w.answer = false;
    EXPECT_EQ(sendMessage(&w, 0x400), 5);
    ASSERT_EQ(owner.calls.size(), 2u);
    EXPECT_EQ(owner.calls[0].resultOnEntry, 1);
    EXPECT_EQ(owner.calls[1].resultOnEntry, 0);
    EXPECT_EQ(w.syntheticSeen, 2);
}

TEST(HookDispatch, BeforeResultIsOverwrittenByTheWidgetWhenNotHandled) {
    RecordingOwner owner;
    owner.react = [](bool before, bool&, int32_t& result, int32_t, int32_t&) {
        if (before)
            result = 77;
    };
    MessageHook hook("Owner", &owner);
    ProbeWidget w;
    ASSERT_TRUE(hook.sc_Subclass(&w));
    hook.sc_AttachMsg(&w, 0x400, HOOK_BEFORE | HOOK_AFTER);
    EXPECT_EQ(sendMessage(&w, 0x400), 1);
    ASSERT_EQ(owner.calls.size(), 2u);
    EXPECT_EQ(owner.calls[1].resultOnEntry, 1);
}

TEST(HookDispatch, AllMessagesSeesQtEventsAndSpecificTablesOnlyTheirOwn) {
    RecordingOwner owner;
    MessageHook hook("Owner", &owner);
    QWidget parent;  // a child widget: its moves start no size/move burst
    auto* child = new ProbeWidget;
    child->setParent(&parent);
    ProbeWidget& w = *child;
    ASSERT_TRUE(hook.sc_Subclass(&w));
    hook.sc_AttachMsg(&w, ALL_MESSAGES, HOOK_BEFORE);
    hook.sc_AttachMsg(&w, WM_SYSCOLORCHANGE, HOOK_AFTER);
    QMoveEvent move(QPoint(3, -2), QPoint(0, 0));
    QApplication::sendEvent(&w, &move);
    QEvent palette(QEvent::PaletteChange);
    QApplication::sendEvent(&w, &palette);
    QEvent style(QEvent::StyleChange);
    QApplication::sendEvent(&w, &style);
    EXPECT_EQ(owner.messages(true),
              (std::vector<int32_t>{WM_MOVE, WM_SYSCOLORCHANGE, WM_THEMECHANGED}));
    EXPECT_EQ(owner.messages(false), (std::vector<int32_t>{WM_SYSCOLORCHANGE}));
    EXPECT_EQ(owner.calls[0].lParam, makeLParam(3, -2));
    EXPECT_EQ(hiWord(owner.calls[0].lParam), -2);
    EXPECT_EQ(w.moveSeen, 1);  // the widget still got its own event once
    owner.calls.clear();
    hook.sc_DetachMsg(&w, ALL_MESSAGES, HOOK_BEFORE);
    QApplication::sendEvent(&w, &move);
    EXPECT_TRUE(owner.calls.empty());
}

TEST(HookDispatch, SpecificMessageAddedToAnAllMessagesTableLeavesOnlyIt) {
    RecordingOwner owner;
    MessageHook hook("Owner", &owner);
    QWidget w;
    ASSERT_TRUE(hook.sc_Subclass(&w));
    hook.sc_AttachMsg(&w, ALL_MESSAGES, HOOK_BEFORE);
    hook.sc_AttachMsg(&w, 0x401, HOOK_BEFORE);
    sendMessage(&w, 0x400);
    sendMessage(&w, 0x401);
    EXPECT_EQ(owner.messages(true), (std::vector<int32_t>{0x401}));
}

TEST(HookDispatch, DeferredUnhookWaitsForTheNextMessage) {
    RecordingOwner owner;
    MessageHook hook("Owner", &owner);
    ProbeWidget w;
    ASSERT_TRUE(hook.sc_Subclass(&w));
    hook.sc_AttachMsg(&w, 0x400, HOOK_BEFORE | HOOK_AFTER);
    hook.sc_UnSubclass(&w);
    WindowProcChain* chain = WindowProcChain::of(&w, false);
    EXPECT_EQ(chain->size(), 1u);  // still allocated, calls nothing back
    sendMessage(&w, 0x400);
    EXPECT_TRUE(owner.calls.empty());
    EXPECT_EQ(w.syntheticSeen, 1);  // the message itself still reached the widget
    EXPECT_EQ(chain->size(), 0u);
}

TEST(HookDispatch, UnhookDuringTheWidgetsOwnProcessingWaitsForTheOutermostCall) {
    ErrorLines log;
    RecordingOwner owner;
    MessageHook hook("Owner", &owner);
    ProbeWidget w;
    ASSERT_TRUE(hook.sc_Subclass(&w));
    hook.sc_AttachMsg(&w, ALL_MESSAGES, HOOK_BEFORE | HOOK_AFTER);
    WindowProcChain* chain = WindowProcChain::of(&w, false);
    std::size_t sizeAfterNested = 99;
    w.onSynthetic = [&](int32_t message) {
        if (message != 0x400)
            return;
        hook.sc_UnSubclass(&w);
        sendMessage(&w, 0x401);  // nested, while the outer call is still inside the widget
        sizeAfterNested = chain->size();
    };
    sendMessage(&w, 0x400);
    EXPECT_EQ(sizeAfterNested, 1u);
    EXPECT_EQ(chain->size(), 0u);
    // Only the outer before call happened: the nested message found empty tables and the
    // outer after call was dropped with the block.
    EXPECT_EQ(owner.messages(true), (std::vector<int32_t>{0x400}));
    EXPECT_TRUE(owner.messages(false).empty());
    EXPECT_EQ(w.syntheticSeen, 2);
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST(HookDispatch, UnhookFromInsideABeforeCallIsSafe) {
    RecordingOwner owner;
    MessageHook hook("Owner", &owner);
    ProbeWidget w;
    ASSERT_TRUE(hook.sc_Subclass(&w));
    hook.sc_AttachMsg(&w, 0x400, HOOK_BEFORE | HOOK_AFTER);
    owner.react = [&](bool before, bool&, int32_t&, int32_t, int32_t&) {
        if (!before)
            return;
        hook.sc_UnSubclassAll();
        sendMessage(&w, 0x401);  // takes the block out while this call still runs through it
    };
    sendMessage(&w, 0x400);
    EXPECT_EQ(owner.calls.size(), 1u);
    EXPECT_EQ(w.syntheticSeen, 2);
    EXPECT_EQ(WindowProcChain::of(&w, false)->size(), 0u);
}

TEST(HookDispatch, TwoOwnersOnOneWidgetChainLastHookedFirst) {
    RecordingOwner first, second;
    std::vector<QString> order;
    first.react = [&](bool before, bool&, int32_t& result, int32_t, int32_t&) {
        order.push_back(before ? "first before" : "first after");
        if (!before)
            result += 10;
    };
    second.react = [&](bool before, bool&, int32_t& result, int32_t, int32_t&) {
        order.push_back(before ? "second before" : "second after");
        if (!before)
            result *= 2;
    };
    MessageHook hookA("A", &first), hookB("B", &second);
    ProbeWidget w;
    ASSERT_TRUE(hookA.sc_Subclass(&w));
    ASSERT_TRUE(hookB.sc_Subclass(&w));
    hookA.sc_AttachMsg(&w, 0x400, HOOK_BEFORE | HOOK_AFTER);
    hookB.sc_AttachMsg(&w, 0x400, HOOK_BEFORE | HOOK_AFTER);
    EXPECT_EQ(sendMessage(&w, 0x400), 22);
    EXPECT_EQ(order, (std::vector<QString>{"second before", "first before", "first after",
                                           "second after"}));
    // The outer owner handling the message hides it from the inner one.
    order.clear();
    second.react = [&](bool before, bool& handled, int32_t&, int32_t, int32_t&) {
        order.push_back(before ? "second before" : "second after");
        handled = true;
    };
    sendMessage(&w, 0x400);
    EXPECT_EQ(order, (std::vector<QString>{"second before"}));
    EXPECT_EQ(w.syntheticSeen, 1);
}

TEST(HookDispatch, CallOrigProcSkipsTheOwnersOwnCallbacks) {
    RecordingOwner owner;
    MessageHook hook("Owner", &owner);
    ProbeWidget w;
    ASSERT_TRUE(hook.sc_Subclass(&w));
    hook.sc_AttachMsg(&w, ALL_MESSAGES, HOOK_BEFORE | HOOK_AFTER);
    EXPECT_EQ(hook.sc_CallOrigProc(&w, 0x400, 0, 0), 1);
    w.answer = false;
    EXPECT_EQ(hook.sc_CallOrigProc(&w, 0x400, 0, 0), 0);
    EXPECT_EQ(hook.sc_CallOrigProc(&w, WM_PAINT, 0, 0), 0);
    EXPECT_EQ(hook.sc_CallOrigProc(&w, WM_MOVE, 0, makeLParam(5, 6)), 1);
    EXPECT_EQ(w.syntheticSeen, 2);
    EXPECT_EQ(w.moveSeen, 1);
    EXPECT_TRUE(owner.calls.empty());
}

TEST(HookDispatch, UnwatchedMessagesPassWithoutCallbacks) {
    RecordingOwner owner;
    MessageHook hook("Owner", &owner);
    ProbeWidget w;
    ASSERT_TRUE(hook.sc_Subclass(&w));
    hook.sc_AttachMsg(&w, 0x401, HOOK_AFTER);
    EXPECT_EQ(sendMessage(&w, 0x400), 1);
    EXPECT_TRUE(owner.calls.empty());
    EXPECT_EQ(w.syntheticSeen, 1);
}
