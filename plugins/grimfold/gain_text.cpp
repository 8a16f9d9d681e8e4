// The level text of a linear gain.
#include "gain_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

void formatGainDecibels(float gain, char* text) {
    const double decibels = 20.0 * std::log10(static_cast<double>(gain));
    // Any positive finite gain lies within +-900 dB. Fixed notation with two decimals is
    // exactly what "%.2f" prints for a double, and to_chars never consults the locale.
    char scratch[64];
    auto result =
        std::to_chars(scratch, scratch + sizeof scratch - 1, decibels, std::chars_format::fixed, 2);
    if (result.ec != std::errc()) {
        text[0] = 0;
        return;
    }
    *result.ptr = 0;
    std::memcpy(text, scratch, static_cast<size_t>(result.ptr - scratch) + 1);
}
