#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace tessaro::jpeg {

// Leaves new elements uninitialised on resize: the sampler writes every coefficient, and
// clearing tens of megabytes first would cost as much as a pass of the encoder.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <typename U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}

    template <typename U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

// Quantized coefficients, 64 per block in zig-zag order.
using CoefficientArray = std::vector<int16_t, UninitialisedAllocator<int16_t>>;

}  // namespace tessaro::jpeg
