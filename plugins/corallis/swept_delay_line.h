// SweptDelayLine: one side (left or right) of an ensemble voice: a circular delay line that owns
// its storage, and the SweepCursor that writes, reads and sweeps it.
//
// State: the line storage (lineLength floats), the settings (base delay, depth, step period
// and its inverse), the requests a host thread leaves for the audio thread, and the cursor (see
// sweep_cursor.h).
// Threads: the setters and requestRestart on host threads: the settings are relaxed atomics and
// the requests an atomic word, so nothing a host thread writes is read by the audio thread
// without the language defining it. The cursor belongs to the audio thread: takeUp copies the
// settings into it and carries out the requests, at the start of each run of frames.
// installLine, rewind, clear and takeUp run on the audio thread or while processing is stopped.
#pragma once

#include "frame/shared_value.h"
#include "plugins/corallis/sweep_cursor.h"

#include <atomic>
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
    // A new period takes effect with a sweep step on the next sample the audio thread runs.
    void setPeriod(int32_t samples);
    // Asks for the line to be silenced and its sweep restarted (rising from the bottom or
    // falling from the top) before the next sample the audio thread runs. It replaces a pending
    // step request: the restart sets the countdown itself.
    void requestRestart(bool rising) {
        requests.store(kClear | (rising ? kRestartRising : kRestartFalling),
                       std::memory_order_release);
    }
    // Copies the settings into the cursor and carries out the pending requests: first the
    // silence and the restart, then a step on the next sample.
    void takeUp(int32_t length);

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
    int32_t getBaseDelay() const { return baseDelay; }
    int32_t getDepth() const { return depth; }
    int32_t getDepthTarget() const { return cursor.depthTarget; }
    int32_t getDirection() const { return cursor.direction; }
    int32_t getStepPeriod() const { return stepPeriod; }
    float getInversePeriod() const { return inversePeriod; }
    int32_t getCountdown() const { return cursor.countdown; }

  private:
    static constexpr uint32_t kStepNext = 1;
    static constexpr uint32_t kClear = 2;
    static constexpr uint32_t kRestartRising = 4;
    static constexpr uint32_t kRestartFalling = 8;

    std::unique_ptr<float[]> storage;
    SharedValue<int32_t> baseDelay = 1;
    SharedValue<int32_t> depth = 1;
    SharedValue<int32_t> stepPeriod = 1;
    SharedValue<float> inversePeriod = 1.0f;
    std::atomic<uint32_t> requests{0};
    SweepCursor cursor;
};
