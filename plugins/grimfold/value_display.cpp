// The number texts of grimfold's displays.
#include "value_display.h"

#include <charconv>
#include <cmath>
#include <cstring>

void formatHundredths(double value, char* text) {
    // Fixed notation with two decimals is exactly what "%.2f" prints, and to_chars never
    // consults the locale. Values beyond the scratch area (none that grimfold shows) give "".
    char scratch[48];
    auto result =
        std::to_chars(scratch, scratch + sizeof scratch - 1, value, std::chars_format::fixed, 2);
    if (result.ec != std::errc()) {
        text[0] = 0;
        return;
    }
    *result.ptr = 0;
    std::memcpy(text, scratch, static_cast<size_t>(result.ptr - scratch) + 1);
}

void formatGainDecibels(float gain, char* text) {
    formatHundredths(20.0 * std::log10(static_cast<double>(gain)), text);
}

// A float times 100 is exact in double precision, so the text shows the stored value itself.
void formatPercent(float value, char* text) {
    formatHundredths(static_cast<double>(value) * 100.0, text);
}
