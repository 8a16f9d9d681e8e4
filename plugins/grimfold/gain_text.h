// The level text of a linear gain: 20 log10(gain) in double precision, printed like "%.2f"
// in the C locale whatever locale the host has set.
#pragma once

// Writes at most 16 bytes including the terminating zero.
void formatGainDecibels(float gain, char* text);
