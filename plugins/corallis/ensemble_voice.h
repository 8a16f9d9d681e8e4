// EnsembleVoice: one of the twelve voices of the ensemble: a left and a right swept delay line
// with crossed feedback (each line's output feeds the other line) and an alternating tiny offset
// that keeps the feedback loops out of the denormal range.
//
// State: the two SweptDelayLines, feedbackIntoLeft, feedbackIntoRight, randomAmount and
// denormalOffset (+-1e-24, sign flipped after every sample, never reset).
// Threads: processSample, processBlock and takeUp on the audio thread; the setters and
// requestRestart on host threads (relaxed atomics; the lines hold their settings likewise);
// installLines and reset on the audio thread or while processing is stopped.
#pragma once

#include "frame/shared_value.h"
#include "plugins/corallis/ensemble_context.h"
#include "plugins/corallis/swept_delay_line.h"

#include <algorithm>
#include <cstdint>
#include <memory>

enum class Side { Left, Right };

struct StereoSample {
    float left;
    float right;
};

class EnsembleVoice {
  public:
    void setDelay(Side side, float v, const EnsembleContext& context) {
        sideLine(side).setBaseDelay(SweptDelayLine::samplesForValue(context.span, v));
    }
    void setDepth(Side side, float v, const EnsembleContext& context) {
        sideLine(side).setDepth(SweptDelayLine::samplesForValue(context.span, v));
    }
    void setSpeed(Side side, float v, const EnsembleContext& context) {
        sideLine(side).setPeriod(SweptDelayLine::periodForSpeed(context.speedScale, v));
    }
    // The gain on the other side's output where it enters this side's line.
    void setFeedback(Side side, float gain) {
        (side == Side::Left ? feedbackIntoLeft : feedbackIntoRight) = gain;
    }
    // 0..1 (NaN as 0): how far below the full depth a triangle's random top may fall.
    void setRandomAmount(float amount);

    // Takes two fresh lines of the context's length: both silent, written from position 0.
    void installLines(std::unique_ptr<float[]> leftLine, std::unique_ptr<float[]> rightLine,
                      int32_t length);
    // Silences both lines in place and writes them from position 0 again, as fresh ones.
    void rewindLines(int32_t length) {
        left.rewind(length);
        right.rewind(length);
    }
    bool hasLines() const { return left.hasLine() && right.hasLine(); }
    // Silences both lines; with restart also puts the left sweep at its bottom (rising) and the
    // right sweep at its top (falling), so the two sides start at opposite ends.
    void reset(bool restart, int32_t length);
    // The same reset with restart, left for the audio thread to carry out when it next takes up
    // the settings.
    void requestRestart() {
        left.requestRestart(true);
        right.requestRestart(false);
    }
    // Audio thread, before a run of frames: the voice and its lines take up the settings and
    // requests.
    void takeUp(int32_t length) {
        left.takeUp(length);
        right.takeUp(length);
        gainsInUse = {feedbackIntoLeft, feedbackIntoRight, randomAmount};
    }

    // One sample pair through the voice. Random draws are taken left side first.
    StereoSample processSample(float inLeft, float inRight, int32_t length,
                               EnsembleRandom& random) {
        takeUp(length);
        return frame(left.live(), right.live(), gainsInUse, denormalOffset, inLeft, inRight, length,
                     random);
    }

    // Frames through the voice, with exactly the bits processSample would give frame by frame
    // (after takeUp, which the caller runs before it sizes the run), and the sweep state held in
    // locals: four frames at a time in lanes wherever no sweep step
    // falls among them and the lines allow it, else one by one. outLeft/outRight may be the
    // input arrays.
    void processBlock(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                      int32_t frames, int32_t length, EnsembleRandom& random) {
        SweepCursor l = left.live();
        SweepCursor r = right.live();
        const Gains g = gainsInUse;
        float offset = denormalOffset;
        for (int32_t i = 0; i < frames;) {
            const int32_t inLanes = std::min(
                std::min(l.framesInLanes(length), r.framesInLanes(length)), (frames - i) & ~3);
            if (inLanes > 0) {
                for (const int32_t end = i + inLanes; i < end; i += 4)
                    fourFrames(l, r, g, offset, inLeft + i, inRight + i, outLeft + i, outRight + i,
                               length);
                continue;
            }
            const StereoSample out = frame(l, r, g, offset, inLeft[i], inRight[i], length, random);
            outLeft[i] = out.left;
            outRight[i] = out.right;
            ++i;
        }
        left.commit(l);
        right.commit(r);
        denormalOffset = offset;
    }

    // Frames from now until the first random draw of either side (0 = the next sample).
    int64_t framesUntilDraw() const {
        return std::min(left.live().framesUntilDraw(), right.live().framesUntilDraw());
    }

    const SweptDelayLine& line(Side side) const { return side == Side::Left ? left : right; }
    float getFeedback(Side side) const {
        return side == Side::Left ? feedbackIntoLeft : feedbackIntoRight;
    }
    float getRandomAmount() const { return randomAmount; }
    float getDenormalOffset() const { return denormalOffset; }

  private:
    // The arithmetic of one frame: both reads, the crossed writes with the alternating offset,
    // the countdowns, then the sweep steps (left first, for the order of random draws).
    struct Gains {
        float intoLeft;
        float intoRight;
        float randomAmount;
    };

    static StereoSample frame(SweepCursor& l, SweepCursor& r, const Gains& g, float& offset,
                              float inLeft, float inRight, int32_t length, EnsembleRandom& random) {
        const float outLeft = l.read(length);
        const float outRight = r.read(length);
        l.write(outRight * g.intoLeft + offset + inLeft, length);
        const bool leftSteps = l.tick();
        r.write(outLeft * g.intoRight + inRight - offset, length);
        offset = -offset;
        const bool rightSteps = r.tick();
        if (leftSteps) l.step(random, g.randomAmount);
        if (rightSteps) r.step(random, g.randomAmount);
        return {outLeft, outRight};
    }

    // frame() four times over, in lanes: the offset alternates from frame to frame and is back
    // where it started after four.
    static void fourFrames(SweepCursor& l, SweepCursor& r, const Gains& g, float offset,
                           const float* inLeft, const float* inRight, float* outLeft,
                           float* outRight, int32_t length) {
        const FloatLanes outL = l.readFour(length);
        const FloatLanes outR = r.readFour(length);
        const FloatLanes offsets = FloatLanes::alternating(offset);
        const FloatLanes inL = FloatLanes::load(inLeft);
        const FloatLanes inR = FloatLanes::load(inRight);
        l.writeFour(outR * FloatLanes::all(g.intoLeft) + offsets + inL, length);
        r.writeFour(outL * FloatLanes::all(g.intoRight) + inR - offsets, length);
        outL.store(outLeft);
        outR.store(outRight);
    }

    SweptDelayLine& sideLine(Side side) { return side == Side::Left ? left : right; }

    SweptDelayLine left;
    SweptDelayLine right;
    SharedValue<float> feedbackIntoLeft = 0.0f;
    SharedValue<float> feedbackIntoRight = 0.0f;
    SharedValue<float> randomAmount = 0.0f;
    Gains gainsInUse{0.0f, 0.0f, 0.0f}; // the audio thread's copy, renewed by takeUp
    float denormalOffset = 1.0e-24f;
};
