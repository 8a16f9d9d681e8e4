// SweptDelayLine: one side (left or right) of an ensemble voice: a circular delay line whose
// read position sweeps up and down one sample at a time in a triangle, read with linear
// interpolation between the current delay and the next one in the sweep's direction.
//
// State: the line (owned, lineLength floats), writePosition, delay (baseDelay + sweepPosition),
// sweepPosition, baseDelay, depth, depthTarget (top of the current triangle), direction (+1 or
// -1), stepPeriod, inversePeriod (1 / stepPeriod) and countdown (samples to the next step).
// Threads: read, write, tick and step run on the audio thread; the setters on host threads
// (single stores); installLine, clear and the restarts while processing is stopped or between
// blocks.
#pragma once

#include "ensemble_random.h"
#include "sample_guard.h"

#include <cstdint>
#include <memory>

class SweptDelayLine {
  public:
    // Base delay or depth in samples for a value v: trunc((span - 1) * v) + 1, in extended
    // precision. v is taken as 0 when NaN and clamped to 0..1, so the result lies in 1..span.
    static int32_t samplesForValue(float span, float v);
    // Samples between two sweep steps for a speed v: trunc(speedScale / (v + 0.0001)), at
    // least 1. v is taken as 0 when NaN and clamped to 0..10.
    static int32_t periodForSpeed(float speedScale, float v);

    void setBaseDelay(int32_t samples) { baseDelay = samples; }
    // The current triangle keeps its top; the new depth governs from the next bottom on.
    void setDepth(int32_t samples) { depth = samples; }
    // A new period takes effect with a sweep step on the next sample.
    void setPeriod(int32_t samples);

    // Takes a freshly allocated line of the given length, silent, written from position 0.
    void installLine(std::unique_ptr<float[]> storage, int32_t length);
    bool hasLine() const { return line != nullptr; }
    // Fills the line with silence; the sweep stays where it is.
    void clear(int32_t length);
    // Restarts the sweep at the bottom of a full-depth triangle, rising.
    void restartRising();
    // Restarts the sweep at the top of a full-depth triangle, falling.
    void restartFalling();

    // The interpolated output for this sample (before this sample's countdown decrement).
    float read(int32_t length) const {
        int32_t readIndex = writePosition - delay;
        if (readIndex < 0) readIndex += length;
        int32_t neighbour = readIndex - direction;
        if (neighbour < 0)
            neighbour += length;
        else if (neighbour >= length)
            neighbour = 0;
        const float fraction = static_cast<float>(countdown) * inversePeriod;
        const float a = line[readIndex];
        const float b = line[neighbour];
        return b + (a - b) * fraction;
    }

    // Stores the next input sample (non-finite values as 0) and advances the write position.
    void write(float value, int32_t length) {
        line[writePosition] = finiteOrZero(value);
        if (++writePosition >= length) writePosition = 0;
    }

    // Counts one sample down; true when the sweep must take its step now.
    bool tick() { return --countdown <= 0; }

    // Moves the delay one sample in the sweep's direction. At the bottom the sweep turns up and
    // draws the next triangle's top from the shared generator; at the top it turns down.
    void step(EnsembleRandom& random, float randomAmount) {
        countdown = stepPeriod;
        const int32_t wasDirection = direction;
        sweepPosition += direction;
        delay = baseDelay + sweepPosition;
        if (wasDirection < 0) {
            if (sweepPosition <= 0) {
                direction = 1;
                const float r = random.next();
                depthTarget =
                    static_cast<int32_t>(static_cast<float>(depth) * (1.0f - r * randomAmount * 0.9f));
            }
        } else if (sweepPosition >= depthTarget) {
            direction = -1;
        }
    }

    // Read access for tests and for the editor's displays.
    const float* lineData() const { return line.get(); }
    int32_t getWritePosition() const { return writePosition; }
    int32_t getDelay() const { return delay; }
    int32_t getSweepPosition() const { return sweepPosition; }
    int32_t getBaseDelay() const { return baseDelay; }
    int32_t getDepth() const { return depth; }
    int32_t getDepthTarget() const { return depthTarget; }
    int32_t getDirection() const { return direction; }
    int32_t getStepPeriod() const { return stepPeriod; }
    float getInversePeriod() const { return inversePeriod; }
    int32_t getCountdown() const { return countdown; }

  private:
    std::unique_ptr<float[]> line;
    int32_t writePosition = 0;
    int32_t delay = 1;
    int32_t sweepPosition = 0;
    int32_t baseDelay = 1;
    int32_t depth = 1;
    int32_t depthTarget = 1;
    int32_t direction = 1;
    int32_t stepPeriod = 1;
    float inversePeriod = 1.0f;
    int32_t countdown = 1;
};
