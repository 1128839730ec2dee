#pragma once
// Truncation of projected positions to pixels. A coordinate far outside the
// view (or not a number at all) must not overflow the integer it becomes.

#include <cmath>

namespace kalvera {

inline int TruncPixel(float value) {
    constexpr float kLimit = 1 << 24;
    if (!(value == value)) return 0;
    if (value > kLimit) return static_cast<int>(kLimit);
    if (value < -kLimit) return -static_cast<int>(kLimit);
    return static_cast<int>(value);  // toward zero
}

}  // namespace kalvera
