// GapLine: a circular delay line written one sample per frame and read at a fractional
// position with linear interpolation.
//
// State: length (samples, at least 1 once allocated), writeIndex (0 to length - 1) and the
// owned sample array. Threads: allocation and replacement happen on host threads (construction,
// a sample-rate change) and must not overlap processing; read, write and clear run on the audio
// thread and never allocate.
#pragma once

#include <cstdint>
#include <memory>

class GapLine {
  public:
    // Longest line the effect keeps: rates up to 41.9 MHz get their exact length, anything
    // faster is capped here (16 MB per line).
    static constexpr int32_t kMaxLength = 1 << 22;

    // The line length for a sample rate: the integer part of rate x 0.1 (0.1 as a float), at
    // least one sample (below 10 Hz the line would have none) and at most kMaxLength.
    static int32_t lengthForRate(float rate);

    // A zeroed sample array of the given length, or null when memory runs out.
    static std::unique_ptr<float[]> allocateSamples(int32_t length);

    // Takes over a zeroed array of `newLength` samples and starts writing at 0.
    void adopt(std::unique_ptr<float[]> newSamples, int32_t newLength);

    bool hasSamples() const { return samples != nullptr; }
    int32_t getLength() const { return length; }
    int32_t getWriteIndex() const { return writeIndex; }
    const float* data() const { return samples.get(); }

    // The value at `position` samples from the start of the array; positions from -length up
    // to length wrap once. Anything outside (only a NaN or runaway position can get there) is
    // pinned to that range first, so no read leaves the array.
    float read(float position) const {
        const float lowest = -static_cast<float>(length);
        const float highest = static_cast<float>(length);
        if (!(position >= lowest)) position = lowest;
        if (position > highest) position = highest;
        // floor without a library call: truncate, then step down for negative fractions.
        int32_t i = static_cast<int32_t>(position);
        if (static_cast<float>(i) > position) --i;
        const float frac = position - static_cast<float>(i);
        if (i < 0)
            i += length;
        else if (i >= length)
            i -= length;
        int32_t j = i + 1;
        if (j >= length) j -= length;
        const float* s = samples.get();
        return s[i] + (s[j] - s[i]) * frac;
    }

    // Stores the value at the write position and moves it on, back to 0 at the end.
    void write(float value) {
        samples[writeIndex] = value;
        if (++writeIndex >= length) writeIndex = 0;
    }

    // Silences the line and restarts writing at 0.
    void clear();

  private:
    int32_t length = 0;
    int32_t writeIndex = 0;
    std::unique_ptr<float[]> samples;
};
