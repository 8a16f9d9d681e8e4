// FuzzInput: reads a fuzzer's bytes as a sequence of small decisions. Reads past the end answer
// zero, so every input, however short, decodes to one defined sequence of calls. Callers take
// each decision in a statement (or braced list) of its own: the order in which a function's
// arguments are evaluated differs between compilers, and the same input must mean the same
// calls in the libFuzzer build and in the corpus replay.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size) : data(data), size(size) {}

    bool empty() const { return position >= size; }
    size_t remaining() const { return empty() ? 0 : size - position; }

    uint8_t byte() { return position < size ? data[position++] : 0; }
    bool flag() { return byte() & 1; }
    uint32_t word() {
        uint32_t w = 0;
        for (int i = 0; i < 4; ++i)
            w = w << 8 | byte();
        return w;
    }
    // 0 to count - 1 (count > 0).
    uint32_t below(uint32_t count) { return count ? (count <= 256 ? byte() : word()) % count : 0; }

    // An integer that is mostly small or at an edge, sometimes any 32-bit value.
    int32_t integer() {
        switch (byte() % 8) {
        case 0:
            return 0;
        case 1:
            return -1;
        case 2:
            return std::numeric_limits<int32_t>::max();
        case 3:
            return std::numeric_limits<int32_t>::min();
        case 4:
            return static_cast<int32_t>(word());
        default:
            return static_cast<int32_t>(byte()) - 16;
        }
    }

    // A float that is often in the host's 0..1 range and otherwise at an edge: negative, huge,
    // denormal, infinite, NaN, or any bit pattern.
    float value() {
        switch (byte() % 12) {
        case 0:
            return 0.0f;
        case 1:
            return 1.0f;
        case 2:
            return -1.0f;
        case 3:
            return std::numeric_limits<float>::quiet_NaN();
        case 4:
            return std::numeric_limits<float>::infinity();
        case 5:
            return -std::numeric_limits<float>::infinity();
        case 6:
            return std::numeric_limits<float>::denorm_min() * static_cast<float>(byte());
        case 7:
            return std::numeric_limits<float>::max();
        case 8:
            return bitsAsFloat(word());
        default:
            return static_cast<float>(byte()) / 255.0f;
        }
    }

    // A sample: mostly audio, sometimes the same edges as value.
    float sample() {
        if (byte() % 4) return (static_cast<float>(byte()) - 128.0f) / 128.0f;
        return value();
    }

    // Up to `most` bytes as text (no terminating zero added).
    std::string text(size_t most) {
        const size_t wanted = below(static_cast<uint32_t>(most) + 1); // before remaining()
        const size_t length = std::min(wanted, remaining());
        std::string out(reinterpret_cast<const char*>(data + position), length);
        position += length;
        return out;
    }

  private:
    static float bitsAsFloat(uint32_t bits) {
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }

    const uint8_t* data;
    size_t size;
    size_t position = 0;
};
