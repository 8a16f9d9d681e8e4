// The per-voice factor tables: each parameter drives all twelve voices, each scaled by its own
// factor, so the voices spread over different delays, depths, speeds and feedback amounts.
#pragma once

inline constexpr int kVoiceCount = 12;
// Voices below this receive shaped values (Depth squared, Speed squared and scaled); the others
// receive the plain parameter value.
inline constexpr int kShapedVoiceCount = 3;

// The three columns shared between the sides for voices 3 to 11 are written out in full.
inline constexpr float kDelay1Factors[kVoiceCount] = {
    1.0f,        0.70710677f, 0.57735026f, 0.82456213f, 0.8126933f,  0.7673503f,
    0.59834564f, 0.47710678f, 0.7573506f,  0.6945172f,  0.90065277f, 0.5535203f};
inline constexpr float kDepth1Factors[kVoiceCount] = {
    1.0f,        0.63661975f, 0.7853982f, 0.95612353f, 0.7186963f, 0.6775033f,
    0.98534656f, 0.7741077f,  0.5737506f, 0.94651204f, 0.8906508f, 0.853503f};
inline constexpr float kSpeed1Factors[kVoiceCount] = {
    1.0f,        0.90309f,   0.845098f,  0.8951215f,  0.97169864f, 0.7670533f,
    0.89546555f, 0.9654016f, 0.8537063f, 0.90946203f, 0.7589066f,  0.89535296f};
inline constexpr float kDelay2Factors[kVoiceCount] = {
    1.0f,        0.6435011f, 0.7937005f, 0.8951215f,  0.97169864f, 0.7670533f,
    0.89546555f, 0.9654016f, 0.8537063f, 0.90946203f, 0.7589066f,  0.89535296f};
inline constexpr float kDepth2Factors[kVoiceCount] = {
    1.0f,        0.75752676f, 0.903221f,  0.82456213f, 0.8126933f,  0.7673503f,
    0.59834564f, 0.47710678f, 0.7573506f, 0.6945172f,  0.90065277f, 0.5535203f};
inline constexpr float kSpeed2Factors[kVoiceCount] = {
    1.0f,        0.63661975f, 0.95492965f, 0.95612353f, 0.7186963f, 0.6775033f,
    0.98534656f, 0.7741077f,  0.5737506f,  0.94651204f, 0.8906508f, 0.853503f};
// 0.9 x 0.75, 0.87 x 0.75 and 0.85 x 0.75 as single-precision products.
inline constexpr float kFeedbackFactors[kVoiceCount] = {
    1.0f,  0.75f,       0.75f,       0.9f,  0.67499995f, 0.67499995f,
    0.87f, 0.65250003f, 0.65250003f, 0.85f, 0.63750005f, 0.63750005f};

// The factor columns of one side.
struct SideFactors {
    const float* delay;
    const float* depth;
    const float* speed;
};
inline constexpr SideFactors kLeftFactors = {kDelay1Factors, kDepth1Factors, kSpeed1Factors};
inline constexpr SideFactors kRightFactors = {kDelay2Factors, kDepth2Factors, kSpeed2Factors};
