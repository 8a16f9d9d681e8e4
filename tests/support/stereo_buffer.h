// StereoBuffer: the two input and two output channels of one block, laid out as a host hands
// them to a plug-in (arrays of channel pointers), with the input signals and output checks the
// tests and benchmarks use.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

struct StereoBuffer {
    explicit StereoBuffer(size_t frames, float input = 0.0f, float output = 0.0f)
        : inL(frames, input), inR(frames, input), outL(frames, output), outR(frames, output) {
        point();
    }
    StereoBuffer(const StereoBuffer& other)
        : inL(other.inL), inR(other.inR), outL(other.outL), outR(other.outR) {
        point();
    }
    StereoBuffer& operator=(const StereoBuffer& other) {
        inL = other.inL;
        inR = other.inR;
        outL = other.outL;
        outR = other.outR;
        point();
        return *this;
    }

    int32_t frames() const { return static_cast<int32_t>(inL.size()); }

    // A sine on the left and a cosine on the right; `phase` carries over from block to block.
    StereoBuffer& sine(float amplitude, double step) {
        for (size_t i = 0; i < inL.size(); ++i) {
            inL[i] = amplitude * static_cast<float>(std::sin(phase));
            inR[i] = amplitude * static_cast<float>(std::cos(phase));
            phase += step;
        }
        return *this;
    }
    // Uniform white noise in [-amplitude, amplitude), different on each side; `seed` carries
    // over from block to block.
    StereoBuffer& noise(float amplitude) {
        for (size_t i = 0; i < inL.size(); ++i) {
            inL[i] = amplitude * nextUniform();
            inR[i] = amplitude * nextUniform();
        }
        return *this;
    }
    StereoBuffer& fillInput(float value) {
        inL.assign(inL.size(), value);
        inR.assign(inR.size(), value);
        return *this;
    }
    StereoBuffer& fillOutput(float value) {
        outL.assign(outL.size(), value);
        outR.assign(outR.size(), value);
        return *this;
    }

    bool outputFinite() const {
        for (size_t i = 0; i < outL.size(); ++i)
            if (!std::isfinite(outL[i]) || !std::isfinite(outR[i])) return false;
        return true;
    }
    // Largest output magnitude; infinity when any output sample is not a number.
    float outputPeak() const {
        float peak = 0.0f;
        for (size_t i = 0; i < outL.size(); ++i)
            for (float x : {outL[i], outR[i]}) {
                if (std::isnan(x)) return INFINITY;
                peak = std::fmax(peak, std::fabs(x));
            }
        return peak;
    }

    std::vector<float> inL, inR, outL, outR;
    float* in[2];
    float* out[2];
    double phase = 0.0;
    uint32_t seed = 1;

  private:
    void point() {
        in[0] = inL.data();
        in[1] = inR.data();
        out[0] = outL.data();
        out[1] = outR.data();
    }
    float nextUniform() {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / 8388608.0f - 1.0f;
    }
};
