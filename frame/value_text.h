// Number-to-text formatting shared by every effect. All of it is independent of the process's
// locale: a point is always a point.
#pragma once

#include <cstddef>
#include <cstdint>

// The two fixed 8-character texts.
inline constexpr char kMinusInfinityText[] = "  -oo   ";
inline constexpr char kHugeText[] = " Huge!  ";
// What formatFixed8 shows for NaN (infinities are " Huge!  ").
inline constexpr char kNotANumberText[] = "  NaN   ";

// An 8-character fixed-point text with truncated digits (9 bytes with the terminating zero).
// Integer parts too wide for a decimal point keep every digit and drop the point: positive
// values from 10^7 to 99999999 print eight digits, negative values from -10^6 to -9999999 the
// sign and seven digits.
void formatFixed8(float value, char* text);
// "%7d" cut to 8 characters, or " Huge!  " above 99999999 (9 bytes with the zero).
void formatInt8(int32_t value, char* text);
// The value printed like "%.2f" in the C locale: up to 45 bytes for values of float range;
// " Huge!  " for magnitudes beyond 1e60.
void formatTwoDecimals(double value, char* text);
// Unit texts: value x scale - offset in double precision, printed like formatTwoDecimals (a
// percentage is scale 100, a signed percentage scale 200 and offset 100).
void formatScaledTwoDecimals(float value, double scale, double offset, char* text);
// The level of a linear gain, 20 log10(gain) in double precision, printed like
// formatTwoDecimals.
void formatGainDecibels(float gain, char* text);
// The integer part (toward zero) of a product a display shows, held to the int32 range; NaN
// gives 0.
int32_t truncateToInt32(long double value);
// Copies text whole with its terminating zero, at most capacity - 1 characters.
void copyText(char* destination, const char* source, size_t capacity);
