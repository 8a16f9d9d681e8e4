// EnsembleContext: the rate-dependent values shared by the voices.
#include "plugins/corallis/ensemble_context.h"

#include <cmath>

bool EnsembleContext::setRate(float rate) {
    if (!std::isfinite(rate) || !(rate > 0.0f)) return false;
    // Both products are formed in double precision and then rounded to floats.
    const float newSpan = static_cast<float>(static_cast<double>(rate) * 0.05);
    const float twice = newSpan + newSpan;
    if (!(twice <= static_cast<float>(kMaxLineLength))) return false;
    span = newSpan;
    const int32_t length = static_cast<int32_t>(twice);
    // Below 20 Hz the truncated length would be 0 or 1 while a delay of 2 can still be read.
    lineLength = length < kMinLineLength ? kMinLineLength : length;
    speedScale = static_cast<float>(static_cast<double>(rate) * 0.01);
    return true;
}
