// SweptDelayLine: value mapping, line storage and sweep restarts.
#include "plugins/corallis/swept_delay_line.h"

#include <algorithm>
#include <cmath>

namespace {

float clampedValue(float v, float top) {
    if (std::isnan(v)) return 0.0f;
    return std::min(std::max(v, 0.0f), top);
}

} // namespace

int32_t SweptDelayLine::samplesForValue(float span, float v) {
    const long double product =
        (static_cast<long double>(span) - 1.0L) * static_cast<long double>(clampedValue(v, 1.0f));
    return static_cast<int32_t>(product) + 1;
}

int32_t SweptDelayLine::periodForSpeed(float speedScale, float v) {
    const double period =
        static_cast<double>(speedScale) / (static_cast<double>(clampedValue(v, 10.0f)) + 0.0001);
    // speedScale is bounded by the longest line the context accepts, so this stays far below
    // the int range; at very low rates it would reach 0, which would stop the sweep.
    const int32_t samples = static_cast<int32_t>(std::min(period, 2147483647.0));
    return samples < 1 ? 1 : samples;
}

// The period and its inverse are stored before the request (release), so the audio thread that
// takes the request up (acquire) reads them too.
void SweptDelayLine::setPeriod(int32_t samples) {
    stepPeriod = samples;
    inversePeriod = 1.0f / static_cast<float>(samples);
    requests.fetch_or(kStepNext, std::memory_order_release);
}

void SweptDelayLine::takeUp(int32_t length) {
    const uint32_t pending = requests.load(std::memory_order_relaxed)
                                 ? requests.exchange(0, std::memory_order_acquire)
                                 : 0;
    cursor.baseDelay = baseDelay;
    cursor.depth = depth;
    cursor.stepPeriod = stepPeriod;
    cursor.inversePeriod = inversePeriod;
    if (pending == 0) [[likely]]
        return;
    if (pending & kClear) clear(length);
    if (pending & kRestartRising) restartRising();
    if (pending & kRestartFalling) restartFalling();
    if (pending & kStepNext) cursor.countdown = 1;
}

void SweptDelayLine::installLine(std::unique_ptr<float[]> fresh, int32_t length) {
    storage = std::move(fresh);
    cursor.line = storage.get();
    cursor.writePosition = 0;
    clear(length);
}

void SweptDelayLine::clear(int32_t length) {
    if (storage) std::fill(storage.get(), storage.get() + length, 0.0f);
}

void SweptDelayLine::restartRising() {
    cursor.countdown = cursor.stepPeriod;
    cursor.depthTarget = cursor.depth;
    cursor.delay = cursor.baseDelay;
    cursor.direction = 1;
    cursor.sweepPosition = 0;
}

void SweptDelayLine::restartFalling() {
    cursor.countdown = cursor.stepPeriod;
    cursor.sweepPosition = cursor.depth;
    cursor.depthTarget = cursor.depth;
    cursor.direction = -1;
    cursor.delay = cursor.baseDelay + cursor.depth;
}
