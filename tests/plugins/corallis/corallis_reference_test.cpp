// Output of CorallisEffect against a plain per-sample model of the ensemble: every output sample
// bit for bit, in both modes, both processing entries, across parameter and rate changes.
#include "plugins/corallis/corallis_effect.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// ---- the model: one straightforward function per formula, no shortcuts ----

struct ModelSide {
    std::vector<float> line;
    int writePosition = 0, delay = 0, sweepPosition = 0, baseDelay = 0, depth = 0;
    int depthTarget = 0, direction = 1, stepPeriod = 1, countdown = 1;
    float inversePeriod = 1.0f;
};

struct ModelVoice {
    ModelSide side[2];
    float feedbackIntoLeft = 0.0f, feedbackIntoRight = 0.0f, randomAmount = 0.0f;
    float denormalOffset = 1.0e-24f;
};

const float kFactors[7][12] = {
    {1.0f, 0.70710677f, 0.57735026f, 0.82456213f, 0.8126933f, 0.7673503f, 0.59834564f, 0.47710678f,
     0.7573506f, 0.6945172f, 0.90065277f, 0.5535203f},
    {1.0f, 0.63661975f, 0.7853982f, 0.95612353f, 0.7186963f, 0.6775033f, 0.98534656f, 0.7741077f,
     0.5737506f, 0.94651204f, 0.8906508f, 0.853503f},
    {1.0f, 0.90309f, 0.845098f, 0.8951215f, 0.97169864f, 0.7670533f, 0.89546555f, 0.9654016f,
     0.8537063f, 0.90946203f, 0.7589066f, 0.89535296f},
    {1.0f, 0.6435011f, 0.7937005f, 0.8951215f, 0.97169864f, 0.7670533f, 0.89546555f, 0.9654016f,
     0.8537063f, 0.90946203f, 0.7589066f, 0.89535296f},
    {1.0f, 0.75752676f, 0.903221f, 0.82456213f, 0.8126933f, 0.7673503f, 0.59834564f, 0.47710678f,
     0.7573506f, 0.6945172f, 0.90065277f, 0.5535203f},
    {1.0f, 0.63661975f, 0.95492965f, 0.95612353f, 0.7186963f, 0.6775033f, 0.98534656f, 0.7741077f,
     0.5737506f, 0.94651204f, 0.8906508f, 0.853503f},
    {1.0f, 0.75f, 0.75f, 0.9f, 0.67499995f, 0.67499995f, 0.87f, 0.65250003f, 0.65250003f, 0.85f,
     0.63750005f, 0.63750005f}};

class Model {
  public:
    // Parameter values in parameter index order, applied like a program load.
    Model(float rate, const float (&values)[14]) {
        std::memcpy(p, values, sizeof p);
        setRate(rate);
    }

    void setRate(float rate) {
        span = static_cast<float>(static_cast<double>(rate) * 0.05);
        lineLength = static_cast<int>(span + span);
        speedScale = static_cast<float>(static_cast<double>(rate) * 0.01);
        for (ModelVoice& v : voices)
            for (ModelSide& s : v.side) {
                s.line.assign(static_cast<size_t>(lineLength), 0.0f);
                s.writePosition = 0;
            }
        loadProgram();
    }

    void set(int index, float value) {
        p[index] = value;
        apply(index);
    }

    // Applies every value in index order, then restarts the sweeps on silent lines.
    void loadProgram() {
        for (int i = 0; i < 14; ++i)
            apply(i);
        for (ModelVoice& v : voices) {
            for (ModelSide& s : v.side)
                std::fill(s.line.begin(), s.line.end(), 0.0f);
            ModelSide& l = v.side[0];
            l.countdown = l.stepPeriod, l.depthTarget = l.depth, l.delay = l.baseDelay;
            l.direction = 1, l.sweepPosition = 0;
            ModelSide& r = v.side[1];
            r.countdown = r.stepPeriod, r.sweepPosition = r.depth, r.depthTarget = r.depth;
            r.direction = -1, r.delay = r.baseDelay + r.depth;
        }
    }

    void frame(float inL, float inR, float& outL, float& outR) {
        float wetL, wetR;
        if (p[10] != 0.0f) {
            float l = inL, r = inR;
            for (ModelVoice& v : voices)
                voiceSample(v, l, r, l, r);
            wetL = l, wetR = r;
        } else {
            float ol[12], orr[12];
            for (int k = 0; k < 12; ++k)
                voiceSample(voices[k], inL, inR, ol[k], orr[k]);
            float g0l = ol[0] + ol[1] + ol[2];
            float g0r = orr[0] + orr[1] + orr[2];
            float g1 = ol[3] + ol[4] + ol[5];
            float g2 = ol[6] + ol[7] + ol[8];
            float g3 = ol[9] + ol[10] + ol[11];
            wetL = g0l + g1 + g2 + g3;
            wetR = g0r + g1 + g2 + g3;
        }
        outL = p[8] * inL + wetGain * wetL;
        outR = p[8] * inR + wetGain * wetR;
    }

    uint16_t randomState = 1000;

  private:
    static int samples(float span, float v) {
        return static_cast<int>((static_cast<long double>(span) - 1.0L) *
                                static_cast<long double>(v)) +
               1;
    }
    void setSpeed(ModelSide& s, float v) {
        s.stepPeriod =
            static_cast<int>(static_cast<double>(speedScale) / (static_cast<double>(v) + 0.0001));
        s.inversePeriod = 1.0f / static_cast<float>(s.stepPeriod);
        s.countdown = 1;
    }

    void apply(int index) {
        const float e = p[index];
        const int side = index >= 4 && index <= 7 ? 1 : 0;
        const int column = side * 3;
        switch (index) {
        case 0:
        case 4:
            for (int k = 0; k < 12; ++k)
                voices[k].side[side].baseDelay = samples(span, e * kFactors[column][k]);
            break;
        case 1:
        case 5:
            for (int k = 0; k < 12; ++k)
                voices[k].side[side].depth =
                    samples(span, (k < 3 ? e * e : e) * kFactors[column + 1][k]);
            break;
        case 2:
        case 6: {
            float speed = e * e;
            if (!slowMode) speed = speed * 10.0f;
            for (int k = 0; k < 12; ++k)
                setSpeed(voices[k].side[side], (k < 3 ? speed : e) * kFactors[column + 2][k]);
            break;
        }
        case 3:
        case 7: {
            const float t = 2.0f * e - 1.0f;
            for (int k = 0; k < 12; ++k)
                (side ? voices[k].feedbackIntoRight : voices[k].feedbackIntoLeft) =
                    t * kFactors[6][k];
            break;
        }
        case 9:
            wetGain = e * wetPolarity;
            break;
        case 11:
            wetPolarity = 1.0f - 2.0f * e;
            wetGain = wetPolarity * p[9];
            break;
        case 12:
            for (ModelVoice& v : voices)
                v.randomAmount = e;
            break;
        case 13:
            slowMode = e != 0.0f;
            apply(2);
            apply(6);
            break;
        default:
            break;
        }
    }

    float readSide(const ModelSide& s) const {
        int readIndex = s.writePosition - s.delay;
        if (readIndex < 0) readIndex += lineLength;
        int neighbour = readIndex - s.direction;
        if (neighbour < 0)
            neighbour += lineLength;
        else if (neighbour >= lineLength)
            neighbour = 0;
        const float fraction = static_cast<float>(s.countdown) * s.inversePeriod;
        const float a = s.line[static_cast<size_t>(readIndex)];
        const float b = s.line[static_cast<size_t>(neighbour)];
        return b + (a - b) * fraction;
    }

    void sweepStep(ModelSide& s, float randomAmount) {
        s.countdown = s.stepPeriod;
        const int was = s.direction;
        s.sweepPosition += s.direction;
        s.delay = s.baseDelay + s.sweepPosition;
        if (was == -1 && s.sweepPosition <= 0) {
            s.direction = 1;
            randomState = static_cast<uint16_t>((randomState * 15625u + 1u) % 65536u);
            const float r = static_cast<float>(randomState) / 65536.0f;
            s.depthTarget =
                static_cast<int>(static_cast<float>(s.depth) * (1.0f - r * randomAmount * 0.9f));
        } else if (was == 1 && s.sweepPosition >= s.depthTarget) {
            s.direction = -1;
        }
    }

    void voiceSample(ModelVoice& v, float inL, float inR, float& outL, float& outR) {
        ModelSide& l = v.side[0];
        ModelSide& r = v.side[1];
        const float oL = readSide(l);
        const float oR = readSide(r);
        l.line[static_cast<size_t>(l.writePosition)] =
            oR * v.feedbackIntoLeft + v.denormalOffset + inL;
        if (++l.writePosition == lineLength) l.writePosition = 0;
        l.countdown -= 1;
        r.line[static_cast<size_t>(r.writePosition)] =
            oL * v.feedbackIntoRight + inR - v.denormalOffset;
        if (++r.writePosition == lineLength) r.writePosition = 0;
        v.denormalOffset = -v.denormalOffset;
        r.countdown -= 1;
        if (l.countdown == 0) sweepStep(l, v.randomAmount);
        if (r.countdown == 0) sweepStep(r, v.randomAmount);
        outL = oL;
        outR = oR;
    }

    float p[14];
    ModelVoice voices[12];
    float span = 0.0f, speedScale = 0.0f;
    int lineLength = 0;
    bool slowMode = false;
    float wetPolarity = 1.0f, wetGain = 0.0f;
};

// ---- the comparison ----

// A deterministic mix of tones, noise and steps with frequent level changes.
std::vector<float> testSignal(size_t frames, uint32_t seed) {
    std::vector<float> signal(frames);
    uint32_t state = seed;
    for (size_t i = 0; i < frames; ++i) {
        state = state * 1664525u + 1013904223u;
        const float noise = static_cast<float>(state >> 8) / 16777216.0f - 0.5f;
        const float saw = static_cast<float>(i % 97) / 48.5f - 1.0f;
        signal[i] = (i / 300) % 3 == 2 ? 0.0f : 0.6f * saw + 0.4f * noise;
    }
    return signal;
}

struct SideBySide {
    std::unique_ptr<CorallisEffect> effect = std::make_unique<CorallisEffect>(nullptr);
    std::unique_ptr<Model> model;

    SideBySide(float rate, const float (&values)[14]) {
        effect->setSampleRate(rate);
        for (int i = 0; i < 14; ++i)
            effect->setParameter(i, values[i]);
        effect->setProgram(0);
        model = std::make_unique<Model>(rate, values);
    }
    void set(int index, float value) {
        effect->setParameter(index, value);
        model->set(index, value);
    }
    // Processes a block both ways and compares bits; accumulate adds onto a non-zero buffer.
    void block(size_t frames, uint32_t seed, bool accumulate) {
        std::vector<float> inL = testSignal(frames, seed), inR = testSignal(frames, seed * 7 + 3);
        std::vector<float> outL(frames, accumulate ? 0.125f : 99.0f), outR(outL);
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        if (accumulate)
            effect->process(in, out, static_cast<int32_t>(frames));
        else
            effect->processReplacing(in, out, static_cast<int32_t>(frames));
        for (size_t i = 0; i < frames; ++i) {
            float l, r;
            model->frame(inL[i], inR[i], l, r);
            if (accumulate) l = 0.125f + l, r = 0.125f + r;
            ASSERT_EQ(std::memcmp(&outL[i], &l, 4), 0)
                << "left frame " << i << ": " << outL[i] << " vs " << l;
            ASSERT_EQ(std::memcmp(&outR[i], &r, 4), 0)
                << "right frame " << i << ": " << outR[i] << " vs " << r;
        }
        ASSERT_EQ(effect->ensembleContext().random.value(), model->randomState);
    }
};

// Fast, shallow sweeps with full randomness so that bottoms, tops and draws happen often.
constexpr float kBusy[14] = {0.05f, 0.1f, 1.0f, 0.9f, 0.2f, 0.05f, 0.8f,
                             0.05f, 0.7f, 0.6f, 1.0f, 0.0f, 1.0f,  0.0f};

TEST(CorallisReference, SerialModeMatchesThePlainModel) {
    SideBySide run(44100.0f, kBusy);
    for (uint32_t b = 0; b < 12; ++b)
        run.block(523, b + 1, b % 3 == 1);
}

TEST(CorallisReference, ParallelModeMatchesThePlainModel) {
    float values[14];
    std::memcpy(values, kBusy, sizeof values);
    values[kSerialMod] = 0.0f;
    values[kFeedBack1] = 0.0f; // feedback -1 into the left lines
    SideBySide run(48000.0f, values);
    for (uint32_t b = 0; b < 12; ++b)
        run.block(517, b + 11, b % 4 == 3);
}

TEST(CorallisReference, DefaultProgramAndLongDelaysMatchThePlainModel) {
    float values[14];
    for (int i = 0; i < 14; ++i)
        values[i] = CorallisEffect(nullptr).getParameter(i);
    values[kDelay1] = 1.0f;
    values[kDepth2] = 1.0f;
    SideBySide run(44100.0f, values);
    for (uint32_t b = 0; b < 10; ++b)
        run.block(1024, b + 21, false);
}

// At 2000 Hz with depth 1 and the fastest speeds most sides reach a bottom every few frames,
// often several on the same frame.
TEST(CorallisReference, FrequentSimultaneousDrawsMatchThePlainModel) {
    float values[14];
    std::memcpy(values, kBusy, sizeof values);
    values[kDepth1] = 0.0f;
    values[kDepth2] = 0.0f;
    values[kSpeed2] = 1.0f;
    for (float serial : {1.0f, 0.0f}) {
        values[kSerialMod] = serial;
        SideBySide run(2000.0f, values);
        for (uint32_t b = 0; b < 8; ++b)
            run.block(300, b + 61, b % 2 == 1);
    }
}

TEST(CorallisReference, ParameterChangesBetweenBlocksMatchThePlainModel) {
    SideBySide run(22050.0f, kBusy);
    const struct {
        int index;
        float value;
    } changes[] = {{kSerialMod, 0.0f}, {kDepth1, 0.9f},    {kSlowMod, 1.0f}, {kNegDelay, 1.0f},
                   {kSpeed2, 0.05f},   {kSerialMod, 1.0f}, {kRandAmt, 0.3f}, {kWetMix, 1.0f},
                   {kDelay2, 0.9f},    {kNegDelay, 0.5f},  {kSlowMod, 0.0f}, {kDryMix, 0.0f}};
    uint32_t seed = 40;
    for (const auto& change : changes) {
        run.set(change.index, change.value);
        seed += 2;
        run.block(211, seed, seed % 4 == 0);
        run.block(1, seed + 1, false);
    }
}

// A voice's output does not depend on its input of the same sample, and its delays never
// exceed the line: a sanity check on the invariant the read indices rely on.
TEST(CorallisReference, DelaysStayWithinTheLinesAtEveryRate) {
    for (float rate : {1.0f, 9.0f, 21.0f, 300.0f, 8000.0f, 96000.0f}) {
        CorallisEffect effect(nullptr);
        effect.setSampleRate(rate);
        for (int i = 0; i < 14; ++i)
            effect.setParameter(i, kBusy[i]);
        effect.setParameter(kDelay1, 1.0f);
        effect.setParameter(kDepth1, 1.0f);
        std::vector<float> in = testSignal(4096, 5), outL(4096), outR(4096);
        float* ins[2] = {in.data(), in.data()};
        float* outs[2] = {outL.data(), outR.data()};
        for (int b = 0; b < 4; ++b) {
            effect.processReplacing(ins, outs, 4096);
            const int32_t length = effect.ensembleContext().lineLength;
            for (int v = 0; v < kVoiceCount; ++v)
                for (Side side : {Side::Left, Side::Right}) {
                    const SweptDelayLine& line = effect.voice(v).line(side);
                    ASSERT_GE(line.getDelay(), 1) << rate;
                    ASSERT_LE(line.getDelay(), length) << rate;
                    ASSERT_GE(line.getStepPeriod(), 1) << rate;
                }
        }
    }
}

} // namespace
