// SweepCursor: the per-sample arithmetic of one swept delay line: where it writes, where and how
// it reads (linear interpolation between the current delay and the next one in the sweep's
// direction), and the triangle sweep that moves the delay one sample at a time. Between two
// steps the same reads and writes also run four frames at a time in SIMD lanes.
//
// State: the line (not owned), writePosition, delay (baseDelay + sweepPosition), sweepPosition,
// baseDelay, depth, depthTarget (top of the current triangle), direction (+1 or -1),
// stepPeriod, inversePeriod (1 / stepPeriod) and countdown (samples to the next step).
// A plain value: the audio thread copies it into locals for a run of frames.
#pragma once

#include "frame/finite_sample.h"
#include "plugins/corallis/ensemble_random.h"
#include "plugins/corallis/lanes.h"

#include <algorithm>
#include <cstdint>

struct SweepCursor {
    float* line = nullptr;
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
        line[writePosition] = finiteOrSilence(value);
        if (++writePosition >= length) writePosition = 0;
    }

    // Counts one sample down; true when the sweep must take its step now.
    bool tick() { return --countdown <= 0; }

    // How many of the next frames (a multiple of four) can go through lanes, four at a time
    // (readFour, writeFour), with the bits read, write and tick would give frame by frame: no
    // sweep step among them (so the delay stays), and within each four the reads, their
    // neighbours and the writes neither cross the line's end nor touch each other (so every
    // read sees what the frames before it left).
    int32_t framesInLanes(int32_t length) const {
        if (delay < 5 || delay > length - 5) return 0;
        int32_t readIndex = writePosition - delay;
        if (readIndex < 0) readIndex += length;
        if (readIndex < 1) return 0;
        const int32_t steps = (countdown - 1) / 4;
        const int32_t writes = (length - writePosition) / 4;
        const int32_t reads = (length - 1 - readIndex) / 4;
        return 4 * std::max(std::min(std::min(steps, writes), reads), 0);
    }
    // read for the next four frames.
    FloatLanes readFour(int32_t length) const {
        int32_t readIndex = writePosition - delay;
        if (readIndex < 0) readIndex += length;
        const FloatLanes fraction =
            FloatLanes::countingDown(countdown) * FloatLanes::all(inversePeriod);
        const FloatLanes a = FloatLanes::load(line + readIndex);
        const FloatLanes b = FloatLanes::load(line + readIndex - direction);
        return b + (a - b) * fraction;
    }
    // write and tick for the next four frames (none of which steps).
    void writeFour(FloatLanes values, int32_t length) {
        values.finiteOrSilence().store(line + writePosition);
        writePosition += 4;
        if (writePosition >= length) writePosition = 0;
        countdown -= 4;
    }

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
                depthTarget = static_cast<int32_t>(static_cast<float>(depth) *
                                                   (1.0f - r * randomAmount * 0.9f));
            }
        } else if (sweepPosition >= depthTarget) {
            direction = -1;
        }
    }

    // Frames from now (0 = the next sample) until the sweep step that reaches the bottom and
    // draws from the generator, as long as the period and direction rules stay as they are.
    int64_t framesUntilDraw() const {
        int64_t steps;
        if (direction < 0) {
            steps = std::max(sweepPosition, 1);
        } else {
            const int32_t upSteps = std::max(depthTarget - sweepPosition, 1);
            steps = upSteps + std::max(sweepPosition + upSteps, 1);
        }
        return std::max(countdown - 1, 0) + (steps - 1) * static_cast<int64_t>(stepPeriod);
    }
};
