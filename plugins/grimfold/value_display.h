// The number texts of grimfold's displays, printed like "%.2f" in the C locale whatever locale
// the host has set, from double-precision values.
#pragma once

// The level of a linear gain: 20 log10(gain) in double precision, with two decimals.
void formatGainDecibels(float gain, char* text);

// A stored parameter value as a percentage: the exact product v x 100, with two decimals.
void formatPercent(float value, char* text);
