// QuadratureOscillator: a point on the unit circle advanced by a fixed rotation per sample.
//
// State: oscCos, oscSin (the current point; start 1, 0) and stepCos, stepSin (cosine and sine
// of the angle advanced per sample; start 1, 0, i.e. standing still).
// Threads: setStepAngle runs on host threads (a parameter change) and writes the two step
// words one after the other, each a relaxed atomic; advance and renormalise run on the audio
// thread, which alone touches the point.
#pragma once

#include "frame/shared_value.h"

#include <cmath>

struct QuadratureOscillator {
    float oscCos = 1.0f;
    float oscSin = 0.0f;
    SharedValue<float> stepCos = 1.0f;
    SharedValue<float> stepSin = 0.0f;

    // The rotation for a step angle in radians per sample, evaluated in double precision and
    // stored as floats. A non-finite angle stands still rather than turning the point into NaN.
    void setStepAngle(double omega) {
        if (!std::isfinite(omega)) omega = 0.0;
        stepCos = static_cast<float>(std::cos(omega));
        stepSin = static_cast<float>(std::sin(omega));
    }

    // One rotation, both components from the old point.
    void advance() { rotate(oscCos, oscSin, stepCos.load(), stepSin.load()); }

    // The rotation itself, for a point the audio loop keeps in locals.
    static void rotate(float& pointCos, float& pointSin, float byCos, float bySin) {
        const float c = pointCos;
        const float s = pointSin;
        pointCos = byCos * c - bySin * s;
        pointSin = byCos * s + bySin * c;
    }

    // Pulls the point back to unit length with one first-order (Newton) step, which undoes the
    // rounding drift of a block. Only a point that drifted so far that the step would no longer
    // converge (blocks of millions of frames) or that is no longer finite is put back exactly:
    // scaled to unit length, or restarted at (1, 0). Answers false in that case.
    bool renormalise() {
        const float squared = oscCos * oscCos + oscSin * oscSin;
        if (squared >= 0.25f && squared <= 2.0f) {
            const float k = 1.5f - 0.5f * squared;
            oscCos = oscCos * k;
            oscSin = oscSin * k;
            return true;
        }
        if (std::isfinite(squared) && squared > 0.0f) {
            const double scale = 1.0 / std::sqrt(static_cast<double>(squared));
            oscCos = static_cast<float>(oscCos * scale);
            oscSin = static_cast<float>(oscSin * scale);
        } else {
            oscCos = 1.0f;
            oscSin = 0.0f;
        }
        return false;
    }
};
