// CorallisProgram: one stored program of the ensemble, its record order (which differs from the
// parameter order), the translation between the two, and the parameters' names, labels and
// program defaults.
#pragma once

#include <cstdint>

// Parameter indices as the host addresses them.
enum CorallisParameter : int32_t {
    kDelay1,
    kDepth1,
    kSpeed1,
    kFeedBack1,
    kDelay2,
    kDepth2,
    kSpeed2,
    kFeedBack2,
    kDryMix,
    kWetMix,
    kSerialMod,
    kNegDelay,
    kRandAmt,
    kSlowMod,
    kCorallisParameterCount
};

// Fields of the program record, in record order.
enum CorallisField : int32_t {
    kFieldDelay1,
    kFieldDepth1,
    kFieldSpeed1,
    kFieldFeedBack1,
    kFieldDelay2,
    kFieldDepth2,
    kFieldSpeed2,
    kFieldFeedBack2,
    kFieldRandAmt,
    kFieldDryMix,
    kFieldWetMix,
    kFieldSerialMod,
    kFieldSlowMod,
    kFieldNegDelay,
    kCorallisFieldCount
};

inline constexpr int32_t kCorallisProgramCount = 16;
inline constexpr char kCorallisProgramName[] = "Pellucid Ensemble";

struct CorallisProgram {
    float fields[kCorallisFieldCount];
    char name[24];

    // Every program starts with the same defaults and name.
    void setDefaults();
    // The stored value of a parameter (index 0..13).
    float& value(int32_t parameter);
};

// The record field a parameter index (0..13) is stored in.
int32_t fieldOfParameter(int32_t parameter);
// Names are nine characters each, spaces included; labels are short unit texts.
const char* parameterName(int32_t parameter);
const char* parameterLabel(int32_t parameter);
float parameterDefault(int32_t parameter);
