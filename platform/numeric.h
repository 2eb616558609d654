// Conversions into a narrower number type that are defined for every input: what does not fit
// saturates instead of being undefined behaviour.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// A 64-bit integer held in 32 bits, clamped to the 32-bit range.
inline int32_t SaturateToInt32(int64_t v) {
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

// A double's integer part in 32 bits, clamped; NaN gives 0.
inline int32_t SaturateToInt32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

// A double held as a float; a value beyond the float range becomes an infinity (converting it is
// undefined in C++), and a NaN stays a NaN.
inline float ToFloat(double v) {
    if (v > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (v < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}
