// EnsembleContext: the values that depend only on the sample rate and are shared by the twelve
// voices of one effect, plus their common random generator.
//
// State: span (largest base delay and sweep depth, samples), lineLength (samples in every delay
// line), speedScale (step period scale) and the random generator. Written by the effect on the
// host's user-interface thread while processing is stopped; read by the audio thread.
#pragma once

#include "plugins/corallis/ensemble_random.h"

#include <cstdint>

struct EnsembleContext {
    // Lines are never shorter than the longest delay a voice can reach at the lowest rates
    // (base delay 1 plus depth 1), and never longer than this: a rate whose lines would be
    // longer is refused.
    static constexpr int32_t kMinLineLength = 2;
    static constexpr int32_t kMaxLineLength = 1 << 20;

    float span = 0.0f;
    int32_t lineLength = kMinLineLength;
    float speedScale = 0.0f;
    EnsembleRandom random;

    // Recomputes span, lineLength and speedScale for a rate; the random generator is kept.
    // Answers false, and changes nothing, for a rate that is not finite and positive or whose
    // lines would exceed kMaxLineLength.
    bool setRate(float rate);
};
