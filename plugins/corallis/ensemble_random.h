// EnsembleRandom: the 16-bit linear congruential generator that all twelve voices of one effect
// share; it draws the top of each sweep triangle.
//
// State: the 16-bit state (1000 at construction, never reset). Called on the audio thread only.
#pragma once

#include <cstdint>

class EnsembleRandom {
  public:
    static constexpr uint16_t kInitialState = 1000;

    // Advances the state and answers it scaled to 0 <= r < 1 (exact: 16 bits fit a float).
    float next() {
        state = static_cast<uint16_t>(static_cast<uint32_t>(state) * 15625u + 1u);
        return static_cast<float>(state) / 65536.0f;
    }
    uint16_t value() const { return state; }

  private:
    uint16_t state = kInitialState;
};
