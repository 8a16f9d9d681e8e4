// SharedValue<T>: one value of at most 32 bits that a host thread writes and the audio thread
// (or another host thread) reads without a lock. Loads and stores are relaxed atomics: on x86 they
// are the same plain moves as before, but the language now defines the race. The compiler may no
// longer keep such a value in a register, nor much else around an atomic access, so a sample loop
// works on plain copies and renews them when the writer announces a change (ChangeCount).
#pragma once

#include <atomic>

template <typename T> class SharedValue {
    static_assert(sizeof(T) <= 4 && std::atomic<T>::is_always_lock_free,
                  "only single words of at most 32 bits are shared without a lock");

  public:
    constexpr SharedValue(T initial = T{}) noexcept : word(initial) {}
    SharedValue(const SharedValue& other) noexcept : word(other.load()) {}
    SharedValue& operator=(const SharedValue& other) noexcept {
        store(other.load());
        return *this;
    }
    SharedValue& operator=(T value) noexcept {
        store(value);
        return *this;
    }

    T load() const noexcept { return word.load(std::memory_order_relaxed); }
    void store(T value) noexcept { word.store(value, std::memory_order_relaxed); }
    // Stores a value and answers the one it replaced, as one step: for a request flag that one
    // thread raises and another takes down without losing a raise in between.
    T exchange(T value) noexcept { return word.exchange(value, std::memory_order_relaxed); }
    operator T() const noexcept { return load(); }

  private:
    std::atomic<T> word;
};
