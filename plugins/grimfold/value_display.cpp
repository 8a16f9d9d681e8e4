// The number texts of grimfold's displays.
#include "plugins/grimfold/value_display.h"

#include "frame/value_text.h"

#include <cmath>

void formatGainDecibels(float gain, char* text) {
    formatTwoDecimals(20.0 * std::log10(static_cast<double>(gain)), text);
}

// A float times 100 is exact in double precision, so the text shows the stored value itself.
void formatPercent(float value, char* text) {
    formatTwoDecimals(static_cast<double>(value) * 100.0, text);
}
