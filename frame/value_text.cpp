// Number-to-text formatting.
#include "frame/value_text.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <system_error>

void formatFixed8(float value, char* text) {
    double v = value;
    if (std::isnan(v)) {
        std::memcpy(text, kNotANumberText, 9);
        return;
    }
    const bool negative = v < 0.0;
    if (negative) {
        v = -v;
        if (v > 9999999.0) {
            std::memcpy(text, kHugeText, 9);
            return;
        }
    } else if (v > 99999999.0) {
        std::memcpy(text, kHugeText, 9);
        return;
    }

    char scratch[16];
    size_t length = 0;
    if (negative) scratch[length++] = '-';

    // Integer digits from the right. The field holds 8 characters; a part that would not
    // leave room for the point keeps all its digits and the point is left out.
    char digits[10];
    int digitCount = 0;
    double n = std::floor(v);
    const int budget = 8 - (negative ? 1 : 0);
    const bool noRoomForPoint = n >= (negative ? 1e6 : 1e7);
    int used = (negative ? 1 : 0) + 1;
    do {
        digits[digitCount++] = static_cast<char>('0' + static_cast<int>(std::fmod(n, 10.0)));
        ++used;
        n = n / 10.0;
    } while (n >= 1.0 && (used < 8 || (noRoomForPoint && digitCount < budget)));
    for (int i = digitCount - 1; i >= 0; --i)
        scratch[length++] = digits[i];

    if (!noRoomForPoint) {
        scratch[length++] = '.';
        if (used < 8) {
            const int k = 8 - used;
            double m = std::fmod(v, 1.0) * std::pow(10.0, k);
            char fraction[8];
            for (int i = k - 1; i >= 0; --i) {
                if (m <= 0.0) {
                    fraction[i] = '0';
                } else {
                    fraction[i] = static_cast<char>('0' + static_cast<int>(std::fmod(m, 10.0)));
                    m = m / 10.0;
                }
            }
            std::memcpy(scratch + length, fraction, static_cast<size_t>(k));
            length += static_cast<size_t>(k);
        }
    }
    scratch[length] = 0;
    std::memcpy(text, scratch, length + 1);
}

void formatInt8(int32_t value, char* text) {
    if (value > 99999999) {
        std::memcpy(text, kHugeText, 9);
        return;
    }
    char scratch[16];
    std::snprintf(scratch, sizeof scratch, "%7d", value);
    scratch[8] = 0;
    std::memcpy(text, scratch, std::strlen(scratch) + 1);
}

void formatTwoDecimals(double value, char* text) {
    char scratch[64];
    auto result =
        std::to_chars(scratch, scratch + sizeof scratch - 1, value, std::chars_format::fixed, 2);
    if (result.ec != std::errc()) { // wider than any float-derived value; never a partial text
        std::memcpy(text, kHugeText, 9);
        return;
    }
    *result.ptr = 0;
    std::memcpy(text, scratch, static_cast<size_t>(result.ptr - scratch) + 1);
}

void formatScaledTwoDecimals(float value, double scale, double offset, char* text) {
    formatTwoDecimals(static_cast<double>(value) * scale - offset, text);
}

void formatGainDecibels(float gain, char* text) {
    formatTwoDecimals(20.0 * std::log10(static_cast<double>(gain)), text);
}

int32_t truncateToInt32(long double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0L) return INT32_MAX;
    if (value <= -2147483648.0L) return INT32_MIN;
    return static_cast<int32_t>(value);
}

void copyText(char* destination, const char* source, size_t capacity) {
    if (!destination || capacity == 0) return;
    size_t length = source ? std::strlen(source) : 0;
    if (length > capacity - 1) length = capacity - 1;
    if (length) std::memcpy(destination, source, length);
    destination[length] = 0;
}
