#pragma once
// A caller's progress for conversions under test: records what the stages reported
// and lets a test act inside a chosen yield (cancel there, say).
#include <functional>
#include <vector>

#include "core/progress.h"

namespace testing_support {

class FakeProgress : public core::Progress {
  public:
    void Advance(double done) override { advances.push_back(done); }
    void LongStep(bool begins) override { long_steps.push_back(begins); }
    void Yield() override {
        ++yields;
        if (on_yield) on_yield(yields);
    }

    // Cancels inside yield n (1-based), as a click on "Cancel" would.
    void CancelAtYield(int n) {
        on_yield = [this, n](int yield) {
            if (yield == n) Cancel();
        };
    }

    int yields = 0;
    std::function<void(int)> on_yield;  // called with the yield's 1-based number
    std::vector<double> advances;
    std::vector<bool> long_steps;
};

}  // namespace testing_support
