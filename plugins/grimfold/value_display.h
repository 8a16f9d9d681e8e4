// The number texts of grimfold's displays, printed like "%.2f" in the C locale whatever locale
// the host has set, from double-precision values.
#pragma once

// A value with two decimals, as "%.2f" prints a double (at most 48 bytes with the zero for
// values within +-1e40).
void formatHundredths(double value, char* text);

// The level of a linear gain: 20 log10(gain) in double precision, with two decimals.
void formatGainDecibels(float gain, char* text);

// A stored parameter value as a percentage: the exact product v x 100, with two decimals.
void formatPercent(float value, char* text);
