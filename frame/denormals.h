// ScopedFlushDenormals: sets flush-to-zero and denormals-are-zero for the duration of one
// processing call and restores the host's setting afterwards. Recursive filters that decay into
// the denormal range would otherwise cost many times their normal price on silence.
#pragma once

#include <xmmintrin.h>

class ScopedFlushDenormals {
  public:
    ScopedFlushDenormals() : saved(_mm_getcsr()) { _mm_setcsr(saved | kFlushBits); }
    ~ScopedFlushDenormals() { _mm_setcsr(saved); }
    ScopedFlushDenormals(const ScopedFlushDenormals&) = delete;
    ScopedFlushDenormals& operator=(const ScopedFlushDenormals&) = delete;

  private:
    static constexpr unsigned kFlushBits = 0x8040; // FTZ (bit 15) and DAZ (bit 6)
    unsigned saved;
};
