// The anti-alias low-pass: eight second-order sections in series run at eight times the host
// rate on a held input, keeping the last of every eight outputs. At that rate its ripple stays
// below 0.1 dB up to 0.48 of the host rate and it attenuates by at least 90 dB from half the
// host rate up; its gain at zero frequency is 0.991.
//
// This file holds the coefficients and the memory layout; CascadePipeline runs them.
// State: per channel two values per section (CascadeChannel). Owned by the effect; changed
// only by the audio thread while processing and cleared by suspend.
#pragma once

#include <cstdint>

namespace anti_alias {

constexpr int32_t kSections = 8;
constexpr int32_t kPasses = 8;

// The eight numerator triples (b0, b1, b2 with b2 = b0) in section order, then the eight
// denominator triples (1, a1, a2).
inline constexpr float kCoefficients[2 * kSections * 3] = {
    0.00817012694f, 0.001666617f,  0.00817012694f, // section 1
    0.0843786225f,  -0.122226536f, 0.0843786225f,  // 2
    0.294814587f,   -0.506744027f, 0.294814587f,   // 3
    0.547922671f,   -0.984616458f, 0.547922671f,   // 4
    0.741649508f,   -1.35486233f,  0.741649508f,   // 5
    0.860388815f,   -1.58282053f,  0.860388815f,   // 6
    0.923423111f,   -1.70402002f,  0.923423111f,   // 7
    0.950461507f,   -1.75598967f,  0.950461507f,   // 8
    1.0f,           -1.76846647f,  0.786473453f,   // section 1
    1.0f,           -1.78663802f,  0.833168805f,   // 2
    1.0f,           -1.80982125f,  0.892706394f,   // 3
    1.0f,           -1.82798219f,  0.939247072f,   // 4
    1.0f,           -1.83933794f,  0.9681229f,     // 5
    1.0f,           -1.84583569f,  0.984167635f,   // 6
    1.0f,           -1.84973693f,  0.992841661f,   // 7
    1.0f,           -1.85280573f,  0.997958958f,   // 8
};

constexpr float b0(int32_t section) {
    return kCoefficients[section * 3];
}
constexpr float b1(int32_t section) {
    return kCoefficients[section * 3 + 1];
}
constexpr float b2(int32_t section) {
    return kCoefficients[section * 3 + 2];
}
constexpr float a1(int32_t section) {
    return kCoefficients[(kSections + section) * 3 + 1];
}
constexpr float a2(int32_t section) {
    return kCoefficients[(kSections + section) * 3 + 2];
}

// One channel's filter memory. Sections 1 to 8 keep their values at entries 1 to 8; the
// other entries stay 0.
struct CascadeChannel {
    float first[16];
    float second[16];
};

} // namespace anti_alias
