#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>

#include "MessageTable.h"
#include "SubclassOwner.h"

namespace tessaro::hook {

// The state of one hooked window for one owner. Owned by the window's chain of hooks (and,
// while a message runs through it, by that message's dispatch), referred to weakly by the
// owner's registry.
struct HookBlock {
    // Calls into the previous procedure now in progress for this window.
    int32_t depth = 0;
    // All bits set once sc_UnSubclass asked to unhook the window; the block then calls
    // nothing back and takes itself out of the chain on the next message that finds no call
    // into the previous procedure in progress.
    int32_t shutdown = 0;
    QPointer<QWidget> window;
    // Nulled when the owner's hook object goes away, so that a block still waiting for its
    // release never calls a dead owner.
    SubclassOwner* owner = nullptr;
    MessageTable before;
    MessageTable after;
    int32_t userValue = 0;
    // Taken out of the chain: messages pass through it untouched.
    bool released = false;
};

}  // namespace tessaro::hook
