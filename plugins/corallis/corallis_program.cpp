// The ensemble's program record: translation, defaults, names and labels.
#include "plugins/corallis/corallis_program.h"

namespace {

constexpr int32_t kFieldOf[kCorallisParameterCount] = {
    kFieldDelay1,    kFieldDepth1,   kFieldSpeed1,    kFieldFeedBack1, kFieldDelay2,
    kFieldDepth2,    kFieldSpeed2,   kFieldFeedBack2, kFieldDryMix,    kFieldWetMix,
    kFieldSerialMod, kFieldNegDelay, kFieldRandAmt,   kFieldSlowMod};

constexpr const char* kNames[kCorallisParameterCount] = {
    " Delay1  ", " Depth1  ", " Speed1  ", "FeedBack1", " Delay2  ", " Depth2  ", " Speed2  ",
    "FeedBack2", " Dry Mix ", " Wet Mix ", "SerialMod", "Neg.Delay", "Rand. Amt", " SlowMod "};

constexpr char kMilliseconds[] = " ms";
constexpr char kPercent[] = " %";
constexpr char kNoUnit[] = " ";
constexpr const char* kLabels[kCorallisParameterCount] = {
    kMilliseconds, kMilliseconds, kNoUnit,  kPercent, kMilliseconds, kMilliseconds, kNoUnit,
    kPercent,      kPercent,      kPercent, kNoUnit,  kNoUnit,       kPercent,      kNoUnit};

constexpr float kDefaults[kCorallisParameterCount] = {
    0.25f, 0.75f, 0.2f, 0.15f, 0.15f, 0.55f, 0.3f, 0.25f, 0.5f, 0.5f, 1.0f, 0.0f, 0.0f, 1.0f};

} // namespace

int32_t fieldOfParameter(int32_t parameter) {
    return kFieldOf[parameter];
}

const float* parameterDefaults() {
    return kDefaults;
}
const int32_t* parameterFields() {
    return kFieldOf;
}
const char* const* parameterNameTable() {
    return kNames;
}
const char* const* parameterLabelTable() {
    return kLabels;
}
