#pragma once
// How a running conversion tells its caller how far it has got, and learns that it
// should stop. The conversion calls the virtual functions on its own thread; Cancel
// may come from any thread.
#include <atomic>

namespace core {

class Progress {
  public:
    virtual ~Progress() = default;

    // The share of the polled rows done so far, from 0 to 1.
    virtual void Advance(double done) { (void)done; }
    // A step that polls no rows (the warp, a smoothing filter, the added depth) begins
    // (true) or ends (false): a caller may say that the wait is longer there.
    virtual void LongStep(bool begins) { (void)begins; }
    // Between rows: a caller that runs the conversion on its own thread handles its
    // pending input here (a click on "Cancel" included).
    virtual void Yield() {}

    void Cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    bool Cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

  private:
    std::atomic<bool> cancelled_{false};
};

// Marks a step that polls no rows for as long as it lives, so that the caller hears
// of its end even when it fails.
class LongStepScope {
  public:
    explicit LongStepScope(Progress& progress) : progress_(progress) { progress_.LongStep(true); }
    ~LongStepScope() { progress_.LongStep(false); }
    LongStepScope(const LongStepScope&) = delete;
    LongStepScope& operator=(const LongStepScope&) = delete;

  private:
    Progress& progress_;
};

}  // namespace core
