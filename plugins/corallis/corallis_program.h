// The ensemble's program record: its field order (which differs from the parameter order), the
// translation between the two, and the parameters' names, labels and program defaults.
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

// The record field a parameter index (0..13) is stored in.
int32_t fieldOfParameter(int32_t parameter);
// The program defaults in parameter order, and the record field of every parameter index, as
// the program bank takes them.
const float* parameterDefaults();
const int32_t* parameterFields();
// The parameters' names (nine characters each, spaces included) and short unit labels, in
// parameter order.
const char* const* parameterNameTable();
const char* const* parameterLabelTable();
