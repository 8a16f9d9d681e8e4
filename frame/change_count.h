// ChangeCount: how the audio thread learns that host threads changed shared settings, at the cost
// of one load and compare per check while nothing changes. A host thread stores the new values
// (SharedValue) and then announces; the audio loop keeps its own copies of the settings in
// locals and reloads them only when the count has moved since it last looked. The count moves
// after the values (release) and a reload is ordered after reading it (acquire), so it never
// sees values older than the announcement that caused it.
#pragma once

#include <atomic>
#include <cstdint>

class ChangeCount {
  public:
    // Host threads, after storing the changed values.
    void announce() noexcept { count.fetch_add(1, std::memory_order_release); }
    // Audio thread: the count now, to start from.
    uint32_t current() const noexcept { return count.load(std::memory_order_acquire); }
    // Audio thread: true when the count moved since `seen`, which then follows it.
    // The check itself is a relaxed load, which leaves the compiler free to schedule the loop
    // around it; only a moved count pays for the acquire fence that orders the reloads after it.
    bool moved(uint32_t& seen) const noexcept {
        const uint32_t now = count.load(std::memory_order_relaxed);
        if (now == seen) [[likely]]
            return false;
        std::atomic_thread_fence(std::memory_order_acquire);
        seen = now;
        return true;
    }

  private:
    std::atomic<uint32_t> count{0};
};
