// The built-in test signal: a few seconds of a stereo chord with a noise burst, so plug-ins can
// be heard and measured without an input file.
#pragma once

#include <cstddef>
#include <vector>

struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;
    size_t frames() const { return left.size(); }
};

// A minor chord on A3 in both channels (slightly detuned on the right), each note fading in and
// out, followed by a short decaying noise burst. Peak level stays below -3 dBFS.
StereoBuffer makeTestSignal(double seconds, double sampleRate);
