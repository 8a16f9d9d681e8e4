// Routing and answers of the dispatcher, including its guards against bad host input.
#include "tests/frame/probe_effect.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

namespace {

intptr_t dispatch(ProbeEffect& effect, int32_t opcode, int32_t index = 0, intptr_t value = 0,
                  void* ptr = nullptr, float opt = 0.0f) {
    AEffect* record = effect.getAeffect();
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

TEST(Dispatcher, FixedAnswersOfTheBase) {
    ProbeEffect effect;
    EXPECT_EQ(dispatch(effect, effIdentify, 5, 7, nullptr, 3.0f), 0x4E764566);
    EXPECT_EQ(dispatch(effect, effKeysRequired), 1);
    EXPECT_EQ(dispatch(effect, effGetVstVersion), 2200);
    EXPECT_EQ(dispatch(effect, effGetPlugCategory), 0);
    EXPECT_EQ(dispatch(effect, effCanBeAutomated, 2), 1);
    EXPECT_EQ(dispatch(effect, effGetNumProgramCategories), 1);
    EXPECT_EQ(dispatch(effect, effGetCurrentMidiProgram), -1);
    EXPECT_EQ(dispatch(effect, effConnectInput, 0, 1), 1);
    EXPECT_EQ(dispatch(effect, effConnectOutput, 1, 0), 1);
    char word[] = "receiveVstEvents";
    EXPECT_EQ(dispatch(effect, effCanDo, 0, 0, word), 0);
    char text[64] = "unchanged";
    EXPECT_EQ(dispatch(effect, effGetEffectName, 0, 0, text), 0);
    EXPECT_EQ(dispatch(effect, effGetChunk, 0, 0, text), 0);
    for (int32_t opcode :
         std::initializer_list<int32_t>{effEditDraw, effEditMouse, effEditKey, effEditTop,
                                        effEditSleep, 69, 100, -1, INT32_MIN, INT32_MAX})
        EXPECT_EQ(dispatch(effect, opcode, 1, 1, text, 1.0f), 0) << opcode;
}

TEST(Dispatcher, VuIsScaledAndTruncated) {
    ProbeEffect effect;
    effect.vuLevel = 0.5f;
    EXPECT_EQ(dispatch(effect, effGetVu), 16383);
    EXPECT_EQ(dispatch(effect, effGetVu), 0) << "reading the level clears it";
    effect.vuLevel = 1.0f;
    EXPECT_EQ(dispatch(effect, effGetVu), 32767);
    effect.vuLevel = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(dispatch(effect, effGetVu), 0);
    effect.vuLevel = std::numeric_limits<float>::infinity();
    EXPECT_EQ(dispatch(effect, effGetVu), 0);
    effect.vuLevel = 1e30f;
    EXPECT_EQ(dispatch(effect, effGetVu), INT32_MAX);
}

TEST(Dispatcher, ProgramNumbersOutsideTheRangeAreIgnored) {
    ProbeEffect effect;
    dispatch(effect, effSetProgram, 0, 3);
    EXPECT_EQ(dispatch(effect, effGetProgram), 3);
    for (intptr_t bad :
         {intptr_t{-1}, intptr_t{16}, intptr_t{1000}, intptr_t{INT32_MIN}, intptr_t{INTPTR_MAX}})
        dispatch(effect, effSetProgram, 0, bad);
    EXPECT_EQ(dispatch(effect, effGetProgram), 3);
    EXPECT_EQ(effect.programCalls, std::vector<int32_t>{3});
}

TEST(Dispatcher, EditorRequestsWithoutAnEditorAnswerZero) {
    ProbeEffect effect;
    ERect* rect = nullptr;
    EXPECT_EQ(dispatch(effect, effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, nullptr);
    int window = 0;
    EXPECT_EQ(dispatch(effect, effEditOpen, 0, 0, &window), 0);
    EXPECT_EQ(dispatch(effect, effEditClose), 0);
    EXPECT_EQ(dispatch(effect, effEditIdle), 0);
    EXPECT_EQ(dispatch(effect, effEditKeyDown, 'a', 3, nullptr, 1.0f), 0);
    EXPECT_EQ(dispatch(effect, effEditKeyUp, 'a', 3, nullptr, 1.0f), 0);
    EXPECT_EQ(dispatch(effect, effSetEditKnobMode, 0, 2), 0);
}

TEST(Dispatcher, CloseAnswersOneAfterDestroyingTheEffect) {
    bool destroyed = false;
    auto* effect = new ProbeEffect(nullptr, &destroyed);
    AEffect* record = effect->getAeffect();
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_TRUE(destroyed);
}

TEST(Dispatcher, BlockSizeAndSampleRateReachTheEffectsOwnSetters) {
    ProbeEffect effect;
    EXPECT_EQ(dispatch(effect, effSetBlockSizeAndSampleRate, 0, 256, nullptr, 96000.0f), 1);
    EXPECT_EQ(effect.getBlockSize(), 256);
    EXPECT_EQ(effect.getSampleRate(), 96000.0f);
    EXPECT_EQ(effect.sampleRateCalls, std::vector<float>{96000.0f});
    EXPECT_EQ(effect.blockSizeCalls, std::vector<int32_t>{256});
}

TEST(Dispatcher, UnusableSampleRatesNeverReachTheEffect) {
    ProbeEffect effect;
    for (float bad :
         {0.0f, -44100.0f, 1e-40f, FLT_MIN, 1e-30f, 0.001f, 0.63f, 0.9999999f,
          std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
          std::numeric_limits<float>::quiet_NaN()}) {
        dispatch(effect, effSetSampleRate, 0, 0, nullptr, bad);
        dispatch(effect, effSetBlockSizeAndSampleRate, 0, 128, nullptr, bad);
    }
    EXPECT_TRUE(effect.sampleRateCalls.empty());
    EXPECT_EQ(effect.getSampleRate(), 44100.0f);
    EXPECT_EQ(effect.getBlockSize(), 128);
    // Odd but finite rates are the effect's to handle.
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, 1.0f);
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, 1411200.0f);
    EXPECT_EQ(effect.sampleRateCalls, (std::vector<float>{1.0f, 1411200.0f}));
}

TEST(Dispatcher, TextRequestsWithANullBufferDoNothing) {
    ProbeEffect effect;
    for (int32_t opcode : std::initializer_list<int32_t>{
             effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay,
             effGetParamName, effString2Parameter, effGetProgramNameIndexed, effGetEffectName,
             effGetErrorText, effGetVendorString, effGetProductString, effCanDo, effGetChunk,
             effEditGetRect})
        EXPECT_EQ(dispatch(effect, opcode, 0, 0, nullptr), 0) << opcode;
}

TEST(Dispatcher, BaseTextsAreEmpty) {
    ProbeEffect effect;
    for (int32_t opcode : std::initializer_list<int32_t>{effGetProgramName, effGetParamLabel,
                                                         effGetParamDisplay, effGetParamName}) {
        char text[32] = "garbage";
        dispatch(effect, opcode, 0, 0, text);
        EXPECT_STREQ(text, "") << opcode;
    }
}

TEST(RecordEntries, ProcessCallsWithoutAudioAreDropped) {
    // The probe's process does nothing, so a crash would be the only sign of a fault; null
    // arrays, null channels and non-positive frame counts must not reach the effect at all.
    ProbeEffect effect;
    AEffect* record = effect.getAeffect();
    float sample = 0.0f;
    float* channels[2] = {&sample, nullptr};
    record->processReplacing(record, nullptr, nullptr, 16);
    record->process(record, channels, channels, 1);
    record->processReplacing(record, channels, channels, 0);
    record->processReplacing(record, channels, channels, -5);
    EXPECT_EQ(record->getParameter(nullptr, 0), 0.0f);
    EXPECT_EQ(record->dispatcher(nullptr, effIdentify, 0, 0, nullptr, 0.0f), 0);
}

TEST(RecordEntries, NoNonFiniteSampleLeavesTheProcessingEntries) {
    ProbeEffect effect;
    AEffect* record = effect.getAeffect();
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    effect.written = {0.5f, -0.0f, 1e30f, inf, -inf, nan};
    std::vector<float> left(6, -7.0f), right(6, -7.0f);
    float* out[2] = {left.data(), right.data()};
    record->processReplacing(record, out, out, 6);
    const std::vector<float> limited = {0.5f, -0.0f, 1e30f, 0.0f, 0.0f, 0.0f};
    EXPECT_EQ(left, limited);
    EXPECT_EQ(right, limited);
    EXPECT_TRUE(std::signbit(left[1]));
    // Adding onto a host buffer that already holds non-finite values.
    effect.written = {1.0f};
    left = {nan, inf, -inf, 2.0f, FLT_MAX, 0.0f};
    record->process(record, out, out, 6);
    EXPECT_EQ(left, (std::vector<float>{0.0f, 0.0f, 0.0f, 3.0f, FLT_MAX, 1.0f}));
}

TEST(RecordEntries, EffectsRunWithSubnormalsFlushedAndTheHostsSettingComesBack) {
    constexpr unsigned kFlushBits = 0x8040; // flush-to-zero and denormals-are-zero
    ProbeEffect effect;
    AEffect* record = effect.getAeffect();
    float sample = 0.0f;
    float* channels[2] = {&sample, &sample};
    const unsigned host = _mm_getcsr();
    for (unsigned hostSetting : {host & ~kFlushBits, host | kFlushBits}) {
        _mm_setcsr(hostSetting);
        record->processReplacing(record, channels, channels, 1);
        EXPECT_EQ(effect.floatControlSeen & kFlushBits, kFlushBits);
        EXPECT_EQ(_mm_getcsr(), hostSetting);
        record->process(record, channels, channels, 1);
        EXPECT_EQ(effect.floatControlSeen & kFlushBits, kFlushBits);
        EXPECT_EQ(_mm_getcsr(), hostSetting);
    }
    _mm_setcsr(host);
}

} // namespace
