// ParameterSteps: whether a parameter only takes steps, found from what it does to the sound.
// The generator plays a fixed noise signal through fresh effects with the parameter set to each
// of 101 values from 0 to 1 (every other parameter at its default) and compares the outputs:
// a parameter whose outputs fall into two to eight runs of identical results takes steps, and
// each run is one of them. A parameter whose outputs keep changing (or never change) is
// continuous.
#pragma once

#include "frame/aeffect.h"

#include <cstdint>
#include <string>
#include <vector>

struct ParameterStep {
    float value;       // a value inside the step: 0 for the first, 1 for the last
    std::string label; // the effect's text for the step, or its number from 1 when the text
                       // does not name it
};

struct ParameterSteps {
    // Toggled: two steps, off at 0 and on above it. Enumeration: the steps listed.
    enum Kind { Continuous, Toggled, Enumeration } kind = Continuous;
    std::vector<ParameterStep> steps;
};

using EffectFactory = AEffect* (*)(audioMasterCallback);

ParameterSteps findParameterSteps(EffectFactory create, int32_t index);
