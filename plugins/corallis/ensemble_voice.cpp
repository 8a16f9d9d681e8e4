// EnsembleVoice: line installation, reset and the random amount.
#include "plugins/corallis/ensemble_voice.h"

#include <algorithm>
#include <cmath>

void EnsembleVoice::setRandomAmount(float amount) {
    randomAmount = std::isnan(amount) ? 0.0f : std::min(std::max(amount, 0.0f), 1.0f);
}

void EnsembleVoice::installLines(std::unique_ptr<float[]> leftLine,
                                 std::unique_ptr<float[]> rightLine, int32_t length) {
    left.installLine(std::move(leftLine), length);
    right.installLine(std::move(rightLine), length);
}

void EnsembleVoice::reset(bool restart, int32_t length) {
    takeUp(length);
    left.clear(length);
    right.clear(length);
    if (!restart) return;
    left.restartRising();
    right.restartFalling();
}
