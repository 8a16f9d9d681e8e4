// CorallisEffect's parameter model: what each parameter drives in the voices, the program record
// order, the editor notifications, programs and the mode switches.
#include "frame/editor_interface.h"
#include "plugins/corallis/corallis_effect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Records every parameter notification the effect sends to its editor.
class RecordingEditor : public EditorInterface {
  public:
    RecordingEditor(EffectBase* effect, std::vector<std::pair<int32_t, float>>& log) : calls(log) {
        effect->attachEditor(this);
    }
    void setParameter(int32_t index, float value) override { calls.emplace_back(index, value); }
    int32_t getRect(ERect**) override { return 0; }
    int32_t open(void*) override { return 0; }
    void close() override {}
    void idle() override {}
    int32_t onKeyDown(VstKeyCode&) override { return -1; }
    int32_t onKeyUp(VstKeyCode&) override { return -1; }
    int32_t setKnobMode(int32_t) override { return 0; }

  private:
    std::vector<std::pair<int32_t, float>>& calls;
};

// Frames of silence through processReplacing.
void processSilence(CorallisEffect& effect, int32_t frames) {
    std::vector<float> inL(frames), inR(frames), outL(frames), outR(frames);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    effect.processReplacing(in, out, frames);
}

std::unique_ptr<CorallisEffect> makeEffect() {
    auto effect = std::make_unique<CorallisEffect>(nullptr);
    EXPECT_FALSE(effect->failed);
    return effect;
}

TEST(CorallisParameters, DefaultProgramDrivesVoiceZeroAt44100) {
    auto effect = makeEffect();
    const SweptDelayLine& left = effect->voice(0).line(Side::Left);
    const SweptDelayLine& right = effect->voice(0).line(Side::Right);
    // Delay1 0.25: trunc(2204 x 0.25) + 1; Depth1 0.75 squared; Speed1 0.2 squared (SlowMod on).
    EXPECT_EQ(left.getBaseDelay(), 552);
    EXPECT_EQ(left.getDepth(), 1240);
    EXPECT_EQ(left.getStepPeriod(), 10997);
    EXPECT_EQ(left.getInversePeriod(), 1.0f / 10997.0f);
    // Delay2 0.15 (330.6 + 1), Depth2 0.55 squared (666.7 + 1), Speed2 0.09: 441 / 0.0901.
    EXPECT_EQ(right.getBaseDelay(), 331);
    EXPECT_EQ(right.getDepth(), 667);
    EXPECT_EQ(right.getStepPeriod(), 4894);
    // FeedBack 0.15 and 0.25: t = 2e - 1.
    EXPECT_EQ(effect->voice(0).getFeedback(Side::Left), 2.0f * 0.15f - 1.0f);
    EXPECT_EQ(effect->voice(0).getFeedback(Side::Right), -0.5f);
    EXPECT_TRUE(effect->isSerial());
    EXPECT_TRUE(effect->isSlow());
    EXPECT_EQ(effect->getWetGain(), 0.5f);
    EXPECT_EQ(effect->getSpeedLeft(), 0.2f * 0.2f);

    effect->setParameter(kSlowMod, 0.0f);
    EXPECT_EQ(left.getStepPeriod(), 1102);
    EXPECT_EQ(right.getStepPeriod(), 489);
    EXPECT_EQ(effect->getSpeedLeft(), 0.2f * 0.2f * 10.0f);
}

TEST(CorallisParameters, ShapedValuesForVoicesZeroToTwoPlainValuesForTheRest) {
    auto effect = makeEffect();
    // Voice 1: Delay1 0.25 x 0.70710677, Depth1 0.5625 x 0.63661975, Speed1 0.04 x 0.90309.
    EXPECT_EQ(effect->voice(1).line(Side::Left).getBaseDelay(), 390);
    EXPECT_EQ(effect->voice(1).line(Side::Left).getDepth(), 790);
    EXPECT_EQ(effect->voice(1).line(Side::Left).getStepPeriod(), 12174);
    // Voice 3: Depth1 0.75 x 0.95612353 and Speed1 0.2 x 0.8951215, neither squared nor scaled.
    EXPECT_EQ(effect->voice(3).line(Side::Left).getBaseDelay(), 455);
    EXPECT_EQ(effect->voice(3).line(Side::Left).getDepth(), 1581);
    EXPECT_EQ(effect->voice(3).line(Side::Left).getStepPeriod(), 2461);
    // Voice 11's right side: Delay2 column = the Speed1 column, Depth2 column = the Delay1 one.
    EXPECT_EQ(effect->voice(11).line(Side::Right).getBaseDelay(), 297);
    EXPECT_EQ(effect->voice(11).line(Side::Right).getDepth(), 671);
    // SlowMod scales only the shaped voices.
    effect->setParameter(kSlowMod, 0.0f);
    EXPECT_EQ(effect->voice(3).line(Side::Left).getStepPeriod(), 2461);

    // The feedback factors: 0.75 for voices 1-2, 0.9 x 0.75 as a float for voices 4-5.
    effect->setParameter(kFeedBack1, 1.0f);
    EXPECT_EQ(effect->voice(2).getFeedback(Side::Left), 0.75f);
    EXPECT_EQ(effect->voice(4).getFeedback(Side::Left), 0.9f * 0.75f);
    EXPECT_EQ(effect->voice(8).getFeedback(Side::Left), 0.87f * 0.75f);
    EXPECT_EQ(effect->voice(11).getFeedback(Side::Left), 0.85f * 0.75f);
    EXPECT_EQ(effect->voice(11).getFeedback(Side::Right), -0.5f * (0.85f * 0.75f));

    effect->setParameter(kRandAmt, 0.7f);
    for (int v = 0; v < kVoiceCount; ++v)
        EXPECT_EQ(effect->voice(v).getRandomAmount(), 0.7f);
}

TEST(CorallisParameters, SpeedChangeMakesEveryVoiceStepOnTheNextSample) {
    auto effect = makeEffect();
    int32_t rightCountdown[kVoiceCount];
    for (int v = 0; v < kVoiceCount; ++v) {
        ASSERT_GT(effect->voice(v).line(Side::Left).getCountdown(), 1);
        rightCountdown[v] = effect->voice(v).line(Side::Right).getCountdown();
    }
    effect->setParameter(kSpeed1, 0.5f);
    processSilence(*effect, 1);
    for (int v = 0; v < kVoiceCount; ++v) {
        const SweptDelayLine& left = effect->voice(v).line(Side::Left);
        EXPECT_EQ(left.getCountdown(), left.getStepPeriod()) << v; // it stepped
        EXPECT_EQ(effect->voice(v).line(Side::Right).getCountdown(), rightCountdown[v] - 1) << v;
    }
}

TEST(CorallisParameters, WetPolarityAndModeSwitches) {
    auto effect = makeEffect();
    effect->setParameter(kNegDelay, 1.0f);
    EXPECT_EQ(effect->getWetPolarity(), -1.0f);
    EXPECT_EQ(effect->getWetGain(), -0.5f);
    effect->setParameter(kWetMix, 0.8f);
    EXPECT_EQ(effect->getWetGain(), -0.8f);
    effect->setParameter(kNegDelay, 0.5f);
    EXPECT_EQ(effect->getWetGain(), 0.0f);

    effect->setParameter(kSerialMod, 0.0f);
    EXPECT_FALSE(effect->isSerial());
    effect->setParameter(kSerialMod, 1.0e-30f);
    EXPECT_TRUE(effect->isSerial());
    effect->setParameter(kSlowMod, 0.0f);
    EXPECT_FALSE(effect->isSlow());
    effect->setParameter(kSlowMod, 0.001f);
    EXPECT_TRUE(effect->isSlow());
}

TEST(CorallisParameters, ProgramRecordOrderDiffersFromParameterOrder) {
    ProgramBank bank;
    ASSERT_TRUE(bank.allocate(1, kCorallisParameterCount, parameterDefaults(), kCorallisProgramName,
                              parameterFields()));
    char name[ProgramBank::kNameBytes];
    bank.copyName(0, name);
    EXPECT_STREQ(name, "Pellucid Ensemble");
    const float recordOrder[kCorallisFieldCount] = {0.25f, 0.75f, 0.2f, 0.15f, 0.15f, 0.55f, 0.3f,
                                                    0.25f, 0.0f,  0.5f, 0.5f,  1.0f,  1.0f,  0.0f};
    const int32_t expectedField[kCorallisParameterCount] = {0, 1, 2,  3,  4,  5, 6,
                                                            7, 9, 10, 11, 13, 8, 12};
    const float* record = &bank.value(0, kDelay1);
    for (int32_t p = 0; p < kCorallisParameterCount; ++p) {
        EXPECT_EQ(fieldOfParameter(p), expectedField[p]) << p;
        EXPECT_EQ(&bank.value(0, p), record + expectedField[p]) << p;
        EXPECT_EQ(record[expectedField[p]], recordOrder[expectedField[p]]) << p;
    }
}

TEST(CorallisParameters, StoredValuesComeBackPerIndexAndPerProgram) {
    auto effect = makeEffect();
    for (int32_t i = 0; i < kCorallisParameterCount; ++i)
        effect->setParameter(i, static_cast<float>(i + 1) / 16.0f);
    for (int32_t i = 0; i < kCorallisParameterCount; ++i)
        EXPECT_EQ(effect->getParameter(i), static_cast<float>(i + 1) / 16.0f) << i;
    effect->setProgram(7);
    EXPECT_EQ(effect->getParameter(kDryMix), 0.5f);
    EXPECT_EQ(effect->getParameter(kRandAmt), 0.0f);
    effect->setProgram(0);
    EXPECT_EQ(effect->getParameter(kDryMix), 9.0f / 16.0f);
    EXPECT_EQ(effect->getParameter(kSlowMod), 14.0f / 16.0f);
    // Values outside 0..1 from a caller inside the process are stored clamped.
    effect->setParameter(kDelay1, 5.0f);
    EXPECT_EQ(effect->getParameter(kDelay1), 1.0f);
    effect->setParameter(kDelay1, NAN);
    EXPECT_EQ(effect->getParameter(kDelay1), 0.0f);
    EXPECT_EQ(effect->voice(0).line(Side::Left).getBaseDelay(), 1);
}

TEST(CorallisParameters, EditorHearsSpeedsBeforeSlowModAndEveryProgramValue) {
    auto effect = makeEffect();
    std::vector<std::pair<int32_t, float>> log;
    new RecordingEditor(effect.get(), log); // owned by the effect from here on
    effect->setParameter(kSlowMod, 0.0f);
    const std::vector<std::pair<int32_t, float>> slowOff = {
        {kSpeed1, 0.2f}, {kSpeed2, 0.3f}, {kSlowMod, 0.0f}};
    EXPECT_EQ(log, slowOff);

    log.clear();
    effect->setProgram(3);
    std::vector<int32_t> order;
    for (const auto& call : log)
        order.push_back(call.first);
    const std::vector<int32_t> expected = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 2, 6, 13};
    EXPECT_EQ(order, expected);

    // Indices above the last parameter still reach the editor; negative ones do not.
    log.clear();
    effect->setParameter(20, 0.5f);
    effect->setParameter(-1, 0.5f);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].first, 20);
}

TEST(CorallisParameters, ProgramChangeRestartsSweepsAndSilencesLines) {
    auto effect = makeEffect();
    // Shallow, fast sweeps: a bottom (and a random draw) every few hundred samples.
    effect->setParameter(kDepth1, 0.0f);
    effect->setParameter(kDepth2, 0.0f);
    effect->setParameter(kSpeed1, 1.0f);
    effect->setParameter(kSpeed2, 1.0f);
    effect->setProgram(0); // the current triangles keep their old tops until restarted
    std::vector<float> inL(2048, 0.5f), inR(2048, -0.25f), outL(2048), outR(2048);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    effect->processReplacing(in, out, 2048);
    const SweptDelayLine& left = effect->voice(0).line(Side::Left);
    const int32_t position = left.getSweepPosition();
    const int32_t countdown = left.getCountdown();
    ASSERT_LT(countdown, left.getStepPeriod());

    effect->suspend(); // silences the lines, leaves the sweeps where they are
    EXPECT_EQ(left.getSweepPosition(), position);
    EXPECT_EQ(left.getCountdown(), countdown);
    EXPECT_EQ(left.lineData()[0], 0.0f);

    effect->processReplacing(in, out, 2048);
    const int32_t lineLength = effect->ensembleContext().lineLength;
    // The audio thread carries the restart out before the next frame: after one frame of
    // silence each sweep has counted one sample from its restart, and the lines hold nothing
    // but the one frame's denormal offsets.
    effect->setProgram(1);
    processSilence(*effect, 1);
    for (int v = 0; v < kVoiceCount; ++v) {
        const SweptDelayLine& l = effect->voice(v).line(Side::Left);
        const SweptDelayLine& r = effect->voice(v).line(Side::Right);
        EXPECT_EQ(l.getSweepPosition(), 0);
        EXPECT_EQ(l.getDirection(), 1);
        EXPECT_EQ(l.getDelay(), l.getBaseDelay());
        EXPECT_EQ(l.getCountdown(), l.getStepPeriod() - 1);
        EXPECT_EQ(r.getSweepPosition(), r.getDepth());
        EXPECT_EQ(r.getDirection(), -1);
        EXPECT_EQ(r.getDelay(), r.getBaseDelay() + r.getDepth());
        for (int i = 0; i < lineLength; ++i) {
            ASSERT_LE(std::fabs(l.lineData()[i]), 1.0e-24f);
            ASSERT_LE(std::fabs(r.lineData()[i]), 1.0e-24f);
        }
    }
    // The generator is never reset.
    EXPECT_NE(effect->ensembleContext().random.value(), EnsembleRandom::kInitialState);
}

TEST(CorallisParameters, SampleRateChangeResizesLinesAndRecomputesDelays) {
    auto effect = makeEffect();
    effect->setParameter(kDelay1, 1.0f);
    effect->setSampleRate(22050.0f);
    EXPECT_EQ(effect->getSampleRate(), 22050.0f);
    EXPECT_EQ(effect->ensembleContext().lineLength, 2205);
    EXPECT_EQ(effect->voice(0).line(Side::Left).getBaseDelay(), 1102);
    EXPECT_EQ(effect->voice(0).line(Side::Left).getWritePosition(), 0);
    effect->setSampleRate(48000.0f);
    EXPECT_EQ(effect->ensembleContext().lineLength, 4800);
    EXPECT_EQ(effect->voice(0).line(Side::Left).getBaseDelay(), 2400);
    // Speed1 0.2 squared at 480 samples per unit: trunc(480 / 0.0401).
    EXPECT_EQ(effect->voice(0).line(Side::Left).getStepPeriod(), 11970);
    EXPECT_EQ(effect->getParameter(kDelay1), 1.0f);
}

} // namespace
