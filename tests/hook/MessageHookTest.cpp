#include <gtest/gtest.h>

#include <QPointer>
#include <memory>

#include "HookTestSupport.h"
#include "MessageHook.h"
#include "WindowProcChain.h"

using namespace tessaro::hook;
using hooktest::ErrorLines;
using hooktest::ProbeWidget;
using hooktest::RecordingOwner;

TEST(MessageHookErrors, NullOrDestroyedWindowIsAnInvalidHandle) {
    ErrorLines log;
    RecordingOwner owner;
    MessageHook hook("ThemedButton", &owner);
    EXPECT_FALSE(hook.sc_Subclass(nullptr));
    auto* w = new QWidget;
    QPointer<QWidget> gone(w);
    delete w;
    EXPECT_FALSE(hook.sc_Subclass(gone));
    EXPECT_EQ(log.lines, QStringList({"ThemedButton.sc_Subclass: Invalid window handle",
                                      "ThemedButton.sc_Subclass: Invalid window handle"}));
    // Refused before allocating: no registry yet.
    EXPECT_FALSE(hook.hasRegistry());
}

TEST(MessageHookErrors, OwnerWithoutCallbackIsRefused) {
    ErrorLines log;
    MessageHook hook("Owner", nullptr);
    QWidget w;
    EXPECT_FALSE(hook.sc_Subclass(&w));
    EXPECT_EQ(log.lines, QStringList{"Owner.sc_Subclass: Callback method not found"});
    RecordingOwner other;
    EXPECT_TRUE(hook.sc_Subclass(&w, 0, &other));
}

TEST(MessageHookErrors, OperationsBeforeTheFirstHook) {
    ErrorLines log;
    RecordingOwner owner;
    MessageHook hook("Owner", &owner);
    QWidget w;
    hook.sc_AttachMsg(&w, WM_MOUSEMOVE, HOOK_AFTER);
    EXPECT_EQ(hook.sc_UserValue(&w), 0);
    EXPECT_EQ(hook.sc_CallOrigProc(&w, 0x400, 0, 0), 0);
    hook.sc_UnSubclass(&w);
    hook.sc_UnSubclassAll();  // silent
    EXPECT_EQ(log.lines, QStringList({"Owner.zMap_hWnd: Subclassing hasn't been started",
                                      "Owner.zMap_hWnd: Subclassing hasn't been started",
                                      "Owner.zMap_hWnd: Subclassing hasn't been started",
                                      "Owner.sc_UnSubclass: Window handle isn't subclassed"}));
}

TEST(MessageHookErrors, UnknownWindowAfterTheFirstHook) {
    ErrorLines log;
    RecordingOwner owner;
    MessageHook hook("Owner", &owner);
    QWidget hooked, other;
    ASSERT_TRUE(hook.sc_Subclass(&hooked));
    hook.sc_UserValue(&other, 5);
    hook.sc_UnSubclass(&other);
    EXPECT_EQ(log.lines, QStringList({"Owner.zMap_hWnd: Window handle isn't subclassed",
                                      "Owner.zMap_hWnd: Window handle isn't subclassed"}));
}

TEST(MessageHookErrors, TableErrorsUseTheDesignTexts) {
    ErrorLines log;
    RecordingOwner owner;
    MessageHook hook("Owner", &owner);
    QWidget w;
    ASSERT_TRUE(hook.sc_Subclass(&w));
    hook.sc_AttachMsg(&w, ALL_MESSAGES, HOOK_BEFORE);
    hook.sc_DetachMsg(&w, WM_MOUSELEAVE, HOOK_BEFORE);
    for (int i = 0; i < 33; ++i)
        hook.sc_AttachMsg(&w, 0x400 + i, HOOK_AFTER);
    ASSERT_EQ(log.lines.size(), 2);
    EXPECT_EQ(log.lines[0], "Owner.zDelMsg: Message &H2A3 not found in table");
    EXPECT_EQ(log.lines[1],
              "Owner.zAddMsg: Message table overflow. Either increase the value of Const "
              "MSG_ENTRIES or use ALL_MESSAGES instead of specific message values");
    // The 33rd never reaches the owner; the 32nd does.
    sendMessage(&w, 0x41F);
    sendMessage(&w, 0x420);
    EXPECT_TRUE(owner.saw(0x41F, false));
    EXPECT_FALSE(owner.saw(0x420, false));
}

TEST(MessageHook, DoubleHookIsRefusedAndTheFirstKeepsWorking) {
    ErrorLines log;
    RecordingOwner owner;
    MessageHook hook("Owner", &owner);
    ProbeWidget w;
    ASSERT_TRUE(hook.sc_Subclass(&w, 7));
    hook.sc_AttachMsg(&w, 0x400, HOOK_BEFORE);
    EXPECT_FALSE(hook.sc_Subclass(&w, 9));
    EXPECT_EQ(log.lines, QStringList{"Owner.sc_Subclass: Window handle is already subclassed"});
    EXPECT_EQ(WindowProcChain::of(&w, false)->size(), 1u);
    EXPECT_EQ(hook.sc_UserValue(&w), 7);
    sendMessage(&w, 0x400);
    ASSERT_EQ(owner.calls.size(), 1u);
    EXPECT_EQ(owner.calls[0].userValue, 7);
}

TEST(MessageHook, UserValueIsPassedByReferenceAndPersists) {
    RecordingOwner owner;
    owner.react = [](bool, bool&, int32_t&, int32_t, int32_t& user) { user += 10; };
    MessageHook hook("Owner", &owner);
    QWidget w;
    ASSERT_TRUE(hook.sc_Subclass(&w, 1));
    hook.sc_AttachMsg(&w, 0x400, HOOK_BEFORE | HOOK_AFTER);
    sendMessage(&w, 0x400);
    ASSERT_EQ(owner.calls.size(), 2u);
    EXPECT_EQ(owner.calls[0].userValue, 1);
    EXPECT_EQ(owner.calls[1].userValue, 11);
    EXPECT_EQ(hook.sc_UserValue(&w), 21);
    hook.sc_UserValue(&w, -4);
    EXPECT_EQ(hook.sc_UserValue(&w), -4);
}

TEST(MessageHook, UnSubclassAllForgetsTheRegistry) {
    ErrorLines log;
    RecordingOwner owner;
    MessageHook hook("Owner", &owner);
    QWidget a, b;
    ASSERT_TRUE(hook.sc_Subclass(&a));
    ASSERT_TRUE(hook.sc_Subclass(&b));
    hook.sc_AttachMsg(&a, 0x400, HOOK_BEFORE);
    hook.sc_AttachMsg(&b, 0x400, HOOK_BEFORE);
    hook.sc_UnSubclassAll();
    EXPECT_FALSE(hook.hasRegistry());
    sendMessage(&a, 0x400);
    sendMessage(&b, 0x400);
    EXPECT_TRUE(owner.calls.empty());
    EXPECT_TRUE(log.lines.isEmpty());
    // Hooking again starts a fresh registry.
    EXPECT_TRUE(hook.sc_Subclass(&a));
}

TEST(MessageHook, DestroyedWidgetIsDroppedQuietly) {
    ErrorLines log;
    RecordingOwner owner;
    MessageHook hook("Owner", &owner);
    auto* w = new QWidget;
    ASSERT_TRUE(hook.sc_Subclass(w));
    hook.sc_AttachMsg(w, ALL_MESSAGES, HOOK_AFTER);
    delete w;
    hook.sc_UnSubclassAll();
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST(MessageHook, OwnerGoingAwayStopsCallbacksOfPendingBlocks) {
    RecordingOwner owner;
    ProbeWidget w;
    {
        MessageHook hook("Owner", &owner);
        ASSERT_TRUE(hook.sc_Subclass(&w));
        hook.sc_AttachMsg(&w, 0x400, HOOK_BEFORE);
    }
    EXPECT_EQ(WindowProcChain::of(&w, false)->size(), 1u);  // waits for its next message
    sendMessage(&w, 0x400);
    EXPECT_TRUE(owner.calls.empty());
    EXPECT_EQ(w.syntheticSeen, 1);
    EXPECT_EQ(WindowProcChain::of(&w, false)->size(), 0u);
}
