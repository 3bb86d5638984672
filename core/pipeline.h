#pragma once
// The "Anaglyph" command: runs the stages of one conversion in their fixed order,
// shows progress in the band, and turns into "Cancel" while it runs.
#include <array>

#include "core/stage_context.h"

namespace core {

using Stage = void (*)(StageContext&);

// The stages a conversion can run; an empty entry is skipped.
struct StageTable {
    std::array<Stage, 6> cues{};   // by DepthCue
    Stage invert = nullptr;
    Stage centre = nullptr;
    Stage warp = nullptr;
    std::array<Stage, 6> blurs{};  // by BlurChoice; entry 0 ("None") stays empty
    Stage anaglyph = nullptr;
    Stage frame = nullptr;
};

inline constexpr const char* kAnaglyphCaption = "Anaglyph";
inline constexpr const char* kCancelCaption = "Cancel";
inline constexpr const char* kPleaseWaitCaption = "Please Wait...";

class AnaglyphCommand {
public:
    enum class State { Idle, Running, Cancelling };

    AnaglyphCommand(StageContext context, const StageTable& stages)
        : context_(context), stages_(stages) {}

    // mnuAnaglyph_Click: starts a run when idle, cancels a running one. A click while
    // a cancelled run is still finishing is ignored, so runs never nest.
    void mnuAnaglyph_Click();

    State CurrentState() const { return state_; }
    // Whether a stage of the last run failed (ran out of memory, say) and was skipped,
    // so that its result is not the conversion it should be.
    bool StageFailed() const { return stage_failed_; }
    bool Running() const { return state_ != State::Idle; }

private:
    void Run();
    void Cancel();
    void RunStage(Stage stage);
    void RunWithPleaseWait(Stage stage);

    StageContext context_;
    StageTable stages_;
    State state_ = State::Idle;
    bool stage_failed_ = false;
};

}  // namespace core
