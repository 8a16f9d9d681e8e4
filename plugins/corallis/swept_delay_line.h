// SweptDelayLine: one side (left or right) of an ensemble voice: a circular delay line that owns
// its storage, and the SweepCursor that writes, reads and sweeps it.
//
// State: the line storage (lineLength floats) and the cursor (see sweep_cursor.h).
// Threads: the cursor's per-sample operations run on the audio thread; the setters on host
// threads (single stores); installLine, clear and the restarts while processing is stopped or
// between blocks.
#pragma once

#include "plugins/corallis/sweep_cursor.h"

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

    void setBaseDelay(int32_t samples) { cursor.baseDelay = samples; }
    // The current triangle keeps its top; the new depth governs from the next bottom on.
    void setDepth(int32_t samples) { cursor.depth = samples; }
    // A new period takes effect with a sweep step on the next sample.
    void setPeriod(int32_t samples);

    // Takes a freshly allocated line of the given length, silent, written from position 0.
    void installLine(std::unique_ptr<float[]> storage, int32_t length);
    // Silences the line in place and writes it from position 0 again.
    void rewind(int32_t length) {
        cursor.writePosition = 0;
        clear(length);
    }
    bool hasLine() const { return storage != nullptr; }
    // Fills the line with silence; the sweep stays where it is.
    void clear(int32_t length);
    // Restarts the sweep at the bottom of a full-depth triangle, rising.
    void restartRising();
    // Restarts the sweep at the top of a full-depth triangle, falling.
    void restartFalling();

    // The cursor the audio thread works on in place, or copies for a run of frames.
    SweepCursor& live() { return cursor; }
    const SweepCursor& live() const { return cursor; }
    // Takes back the moving part of a copied cursor after a run of frames. The settings
    // (base delay, depth, period) are left alone: a host thread may have changed them.
    void commit(const SweepCursor& moved) {
        cursor.writePosition = moved.writePosition;
        cursor.delay = moved.delay;
        cursor.sweepPosition = moved.sweepPosition;
        cursor.depthTarget = moved.depthTarget;
        cursor.direction = moved.direction;
        cursor.countdown = moved.countdown;
    }

    // Read access for tests and for the editor's displays.
    const float* lineData() const { return storage.get(); }
    int32_t getWritePosition() const { return cursor.writePosition; }
    int32_t getDelay() const { return cursor.delay; }
    int32_t getSweepPosition() const { return cursor.sweepPosition; }
    int32_t getBaseDelay() const { return cursor.baseDelay; }
    int32_t getDepth() const { return cursor.depth; }
    int32_t getDepthTarget() const { return cursor.depthTarget; }
    int32_t getDirection() const { return cursor.direction; }
    int32_t getStepPeriod() const { return cursor.stepPeriod; }
    float getInversePeriod() const { return cursor.inversePeriod; }
    int32_t getCountdown() const { return cursor.countdown; }

  private:
    std::unique_ptr<float[]> storage;
    SweepCursor cursor;
};
