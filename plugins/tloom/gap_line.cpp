// GapLine: allocation, replacement and clearing of a gap line's samples.
#include "plugins/tloom/gap_line.h"

#include <algorithm>
#include <new>

int32_t GapLine::lengthForRate(float rate) {
    const float samples = rate * 0.1f;
    if (!(samples >= 1.0f)) return 1;
    if (samples >= static_cast<float>(kMaxLength)) return kMaxLength;
    return static_cast<int32_t>(samples);
}

std::unique_ptr<float[]> GapLine::allocateSamples(int32_t length) {
    if (length <= 0 || length > kMaxLength) return nullptr;
    return std::unique_ptr<float[]>(new (std::nothrow) float[static_cast<size_t>(length)]());
}

void GapLine::adopt(std::unique_ptr<float[]> newSamples, int32_t newLength) {
    samples = std::move(newSamples);
    length = samples ? newLength : 0;
    writeIndex = 0;
}

void GapLine::clear() {
    if (samples) std::fill(samples.get(), samples.get() + length, 0.0f);
    writeIndex = 0;
}
