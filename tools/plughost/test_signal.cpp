// The built-in test signal.
#include "tools/plughost/test_signal.h"

#include <cmath>
#include <cstdint>

StereoBuffer makeTestSignal(double seconds, double sampleRate) {
    const size_t frames =
        seconds > 0 && sampleRate > 0 ? static_cast<size_t>(seconds * sampleRate) : 0;
    StereoBuffer buffer{std::vector<float>(frames), std::vector<float>(frames)};
    const double notes[] = {220.0, 261.63, 329.63, 440.0};
    const double pi = 3.14159265358979323846;
    const size_t chordEnd = frames * 3 / 4;
    uint32_t noise = 0x12345678u;
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        double left = 0.0, right = 0.0;
        if (i < chordEnd) {
            const double position = static_cast<double>(i) / static_cast<double>(chordEnd);
            const double envelope = std::sin(pi * position);
            for (double note : notes) {
                left += std::sin(2.0 * pi * note * t);
                right += std::sin(2.0 * pi * note * 1.003 * t);
            }
            left *= 0.15 * envelope;
            right *= 0.15 * envelope;
        } else {
            const double since = static_cast<double>(i - chordEnd) / sampleRate;
            const double envelope = 0.5 * std::exp(-since * 8.0);
            noise = noise * 1664525u + 1013904223u;
            const double white = static_cast<double>(noise >> 8) / 8388608.0 - 1.0;
            noise = noise * 1664525u + 1013904223u;
            const double white2 = static_cast<double>(noise >> 8) / 8388608.0 - 1.0;
            left = white * envelope;
            right = white2 * envelope;
        }
        buffer.left[i] = static_cast<float>(left);
        buffer.right[i] = static_cast<float>(right);
    }
    return buffer;
}
