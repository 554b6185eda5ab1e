#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "RuntimeError.h"

// Integer arithmetic that raises the overflow error when it leaves its 16- or 32-bit range,
// and float-to-integer conversion that rounds halves to the even neighbour.
namespace tessaro::checked {

template <typename T>
T narrow(int64_t v) {
    if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max()) {
        err::raiseOverflow();
    }
    return static_cast<T>(v);
}

inline int32_t add32(int64_t a, int64_t b) { return narrow<int32_t>(a + b); }
inline int32_t sub32(int64_t a, int64_t b) { return narrow<int32_t>(a - b); }
inline int32_t mul32(int64_t a, int64_t b) { return narrow<int32_t>(a * b); }
inline int16_t add16(int32_t a, int32_t b) { return narrow<int16_t>(int64_t{a} + b); }
inline int16_t sub16(int32_t a, int32_t b) { return narrow<int16_t>(int64_t{a} - b); }
inline int16_t mul16(int32_t a, int32_t b) { return narrow<int16_t>(int64_t{a} * b); }

// Rounds to the nearest integer, halves to even (the default rounding mode), and raises
// the overflow error when the result does not fit T. NaN counts as overflow.
template <typename T>
T roundEven(double v) {
    const double r = std::nearbyint(v);
    if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) &&
          r <= static_cast<double>(std::numeric_limits<T>::max()))) {
        err::raiseOverflow();
    }
    return static_cast<T>(r);
}

inline int32_t round32(double v) { return roundEven<int32_t>(v); }
inline int16_t round16(double v) { return roundEven<int16_t>(v); }

}  // namespace tessaro::checked
