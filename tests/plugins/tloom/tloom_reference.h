// A plain per-sample model of the effect written straight from its formulas: one function per
// formula, no locals kept across frames, the line read with std::floor. The effect keeps state
// in registers and avoids library calls in its loop; the two must agree bit for bit.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

class ReferenceTloom {
  public:
    ReferenceTloom() {
        lineL.assign(4410, 0.0f);
        lineR.assign(4410, 0.0f);
        const float defaults[15] = {0.5f, 0.5f, 0.25f, 0.35f, 0.45f, 0.55f, 0.0f, 0.0f,
                                    1.0f, 1.0f, 0.5f,  0.0f,  1.0f,  0.0f,  0.0f};
        for (int i = 0; i < 15; ++i)
            setParameter(i, defaults[i]);
    }

    void setParameter(int index, float v) {
        values[index] = v;
        switch (index) {
        case 0:
            speedL.setAngle(gapSpeedAngle(v, speedAdjustL));
            break;
        case 1:
            modL.setAngle((0.1 * v + (double)0.0001f) * invRate * 692.7212158218026);
            break;
        case 2:
            feedbackL = (2.0f * v - 1.0f) * 0.99f;
            break;
        case 3:
            speedR.setAngle(gapSpeedAngle(v, speedAdjustR));
            break;
        case 4:
            modR.setAngle((0.1 * v + (double)0.0001f) * invRate * 692.7212158218026);
            break;
        case 5:
            feedbackR = (2.0f * v - 1.0f) * 0.99f;
            break;
        case 6:
            selectShape(weightsL, v);
            break;
        case 7:
            selectShape(weightsR, v);
            break;
        case 8:
            speedAdjustL = (float)(0.999f * v + 0.001);
            speedL.setAngle(gapSpeedAngle(values[0], speedAdjustL));
            break;
        case 9:
            speedAdjustR = (float)(0.999f * v + 0.001);
            speedR.setAngle(gapSpeedAngle(values[3], speedAdjustR));
            break;
        case 10:
            cutoff = (float)(2.0 * std::sin(3.1415926 * invRate *
                                            (0.48f * (v * v * v * v) + 0.01f) * 22050.0));
            break;
        case 11:
            damping = (float)((1.0f - v * v) * 0.5f + 0.15);
            break;
        case 12:
            lowGain = v;
            break;
        case 13:
            bandGain = v;
            break;
        case 14:
            highGain = v;
            break;
        }
    }

    void setSampleRate(float r) {
        invRate = 1.0f / r;
        const int length = (int)(r * 0.1f);
        lineL.assign(length, 0.0f);
        lineR.assign(length, 0.0f);
        writeL = writeR = 0;
    }

    void frame(float inL, float inR, float& outL, float& outR) {
        modL.advance();
        modR.advance();
        speedL.advance();
        speedR.advance();
        const float gL = read(lineL, writeL - (float)lineL.size() * ((modL.c + 1.0f) * 0.495f));
        const float gR = read(lineR, writeR - (float)lineR.size() * ((modR.c + 1.0f) * 0.495f));
        lineL[writeL] = gR * feedbackL + shape(weightsL, speedL.c);
        if (++writeL == (int)lineL.size()) writeL = 0;
        lineR[writeR] = gL * feedbackR + shape(weightsR, speedR.c);
        if (++writeR == (int)lineR.size()) writeR = 0;
        filterL.step(gL * inL, cutoff, damping);
        filterR.step(gR * inR, cutoff, damping);
        outL = lowGain * filterL.low + bandGain * filterL.band + highGain * filterL.high;
        outR = lowGain * filterR.low + bandGain * filterR.band + highGain * filterR.high;
    }

    void endBlock() {
        speedL.renormalise();
        speedR.renormalise();
        modL.renormalise();
        modR.renormalise();
    }

    float values[15] = {};

  private:
    struct Oscillator {
        float c = 1.0f, s = 0.0f, stepC = 1.0f, stepS = 0.0f;
        void setAngle(double w) {
            stepC = (float)std::cos(w);
            stepS = (float)std::sin(w);
        }
        void advance() {
            const float nc = stepC * c - stepS * s;
            const float ns = stepC * s + stepS * c;
            c = nc;
            s = ns;
        }
        void renormalise() {
            const float k = 1.5f - 0.5f * (c * c + s * s);
            c = c * k;
            s = s * k;
        }
    };
    struct Filter {
        float low = 0.0f, band = 0.0f, high = 0.0f;
        void step(float x, float f, float q) {
            low = low + f * band;
            high = x - q * band - low;
            band = band + f * high;
        }
    };

    double gapSpeedAngle(float v, float adjust) const {
        return invRate * (0.3 * v + (double)0.0001f) * adjust * (double)3.1415927f * 22050.0;
    }
    static void selectShape(float* w, float v) {
        int k = (int)(v * 10.0f);
        if (k > 4) k = 4;
        for (int i = 0; i < 5; ++i)
            w[i] = i == k ? 1.0f : 0.0f;
    }
    static float shape(const float* w, float a) {
        return w[0] * a + w[1] * (a * a) + w[2] * (a * a * a) + w[3] * (a * a * a * a) +
               w[4] * (a * a * a * a * a);
    }
    static float read(const std::vector<float>& s, float p) {
        const int length = (int)s.size();
        int i = (int)std::floor(p);
        const float frac = p - (float)i;
        if (i < 0)
            i += length;
        else if (i >= length)
            i -= length;
        int j = i + 1;
        if (j >= length) j -= length;
        return s[i] + (s[j] - s[i]) * frac;
    }

    float invRate = 1.0f / 44100.0f;
    float feedbackL = 0, feedbackR = 0, speedAdjustL = 1.0f, speedAdjustR = 0.0f;
    float weightsL[5] = {}, weightsR[5] = {};
    Oscillator speedL, modL, speedR, modR;
    std::vector<float> lineL, lineR;
    int writeL = 0, writeR = 0;
    Filter filterL, filterR;
    float cutoff = 0, damping = 0, lowGain = 0, bandGain = 0, highGain = 0;
};
