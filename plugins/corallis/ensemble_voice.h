// EnsembleVoice: one of the twelve voices of the ensemble: a left and a right swept delay line
// with crossed feedback (each line's output feeds the other line) and an alternating tiny offset
// that keeps the feedback loops out of the denormal range.
//
// State: the two SweptDelayLines, feedbackIntoLeft, feedbackIntoRight, randomAmount and
// denormalOffset (+-1e-24, sign flipped after every sample, never reset).
// Threads: processSample on the audio thread; the setters on host threads; installLines and
// reset while processing is stopped or between blocks.
#pragma once

#include "ensemble_context.h"
#include "swept_delay_line.h"

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
    bool hasLines() const { return left.hasLine() && right.hasLine(); }
    // Silences both lines; with restart also puts the left sweep at its bottom (rising) and the
    // right sweep at its top (falling), so the two sides start at opposite ends.
    void reset(bool restart, int32_t length);

    // One sample pair through the voice. Random draws are taken left side first.
    StereoSample processSample(float inLeft, float inRight, int32_t length,
                               EnsembleRandom& random) {
        const float outLeft = left.read(length);
        const float outRight = right.read(length);
        left.write(outRight * feedbackIntoLeft + denormalOffset + inLeft, length);
        const bool leftSteps = left.tick();
        right.write(outLeft * feedbackIntoRight + inRight - denormalOffset, length);
        denormalOffset = -denormalOffset;
        const bool rightSteps = right.tick();
        if (leftSteps) left.step(random, randomAmount);
        if (rightSteps) right.step(random, randomAmount);
        return {outLeft, outRight};
    }

    const SweptDelayLine& line(Side side) const { return side == Side::Left ? left : right; }
    float getFeedback(Side side) const {
        return side == Side::Left ? feedbackIntoLeft : feedbackIntoRight;
    }
    float getRandomAmount() const { return randomAmount; }
    float getDenormalOffset() const { return denormalOffset; }

  private:
    SweptDelayLine& sideLine(Side side) { return side == Side::Left ? left : right; }

    SweptDelayLine left;
    SweptDelayLine right;
    float feedbackIntoLeft = 0.0f;
    float feedbackIntoRight = 0.0f;
    float randomAmount = 0.0f;
    float denormalOffset = 1.0e-24f;
};
