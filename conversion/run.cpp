#include "conversion/run.h"

#include <exception>
#include <functional>
#include <new>
#include <optional>

#include "conversion/imported_depth.h"
#include "conversion/standard_stages.h"
#include "core/workspace.h"
#include "depth/scene_choice.h"
#include "depth/scene_depth.h"

namespace conversion {

namespace {

// One step of the run, the stage it calls (none: skipped) and its name for messages.
struct Step {
    std::function<void(core::StageContext&)> stage;
    const char* name;
    bool long_step;  // polls no rows: the caller may say "Please Wait..."
};

// The steps the choices pick, in the order they run. A cue or filter number outside
// the table runs none. An imported depth map stands for the cue, inversion and centring,
// and for the scene depth too: it is the picture's own depth already.
std::vector<Step> StepsFor(const Choices& choices, bool depth_imported, const StageTable& stages,
                           Result& result) {
    const core::ConversionSettings& s = choices.settings;
    std::vector<Step> steps;
    if (!depth_imported) {
        if (s.DepthCue >= 0 && s.DepthCue <= 5)
            steps.push_back(
                {stages.cues[static_cast<std::size_t>(s.DepthCue)], "depth cue", false});
        steps.push_back({stages.invert, "inversion", false});
        steps.push_back({stages.centre, "centring", false});
        if (const core::Scene scene = core::SceneOf(choices.scene); scene != core::Scene::kClassic)
            steps.push_back({[scene, &result](core::StageContext& c) {
                                 result.scene_picked =
                                     depth::SceneName(depth::SceneDepth(c, scene));
                             },
                             "scene depth", true});
    }
    if (s.DoWarp) steps.push_back({stages.warp, "warp", true});
    if (s.BlurChoice >= 1 && s.BlurChoice <= 5)
        steps.push_back({stages.blurs[static_cast<std::size_t>(s.BlurChoice)], "smoothing", true});
    if (choices.parallax.Scaled())
        steps.push_back({stages.scaled_anaglyph, "anaglyph", false});
    else
        steps.push_back({stages.anaglyph, "anaglyph", false});
    if (s.ShowFrame == 1) steps.push_back({stages.frame, "frame", false});
    return steps;
}

// Why a step failed, in the user's words; nothing when it did not.
std::optional<std::string> RunStep(const Step& step, core::StageContext& context) {
    try {
        if (step.long_step) {
            const core::LongStepScope long_step(context.progress);
            step.stage(context);
        } else {
            step.stage(context);
        }
    } catch (const std::bad_alloc&) {
        return std::string("out of memory");
    } catch (const std::exception& error) {
        return std::string(error.what());
    }
    return std::nullopt;
}

// What a file load puts on the three surfaces before a run.
void LoadSurfaces(core::Workspace& surfaces, const platform::Picture& picture) {
    surfaces.picOriginal.SetPicture(picture);
    surfaces.picResult.SetPicture(picture);
    surfaces.picDepth.SetPicture(picture);
}

// Polled row passes: cue 1, inversion 1, centring 2 unless the depth map was imported;
// the classic second view 3 or the scaled views 1; masks 2.
long long PollsPerRow(const Choices& choices, bool depth_imported) {
    return (depth_imported ? 0 : 4) + (choices.parallax.Scaled() ? 1 : 3) + 2;
}

// `picture_image` is the picture as loaded: the classic left view.
Views TakeViews(const core::Workspace& surfaces, const Choices& choices,
                const platform::Bitmap& picture_image, bool stage_views) {
    const platform::PictureSurface& original = surfaces.picOriginal;
    Views views;
    views.anaglyph = original.HasPicture() ? *original.GetPicture() : original.ImageAsPicture();
    if (!stage_views) return views;
    views.depth_map = surfaces.picDepth.Image();
    views.second_view = surfaces.picResult.Image();
    views.left_view = choices.parallax.Scaled() ? surfaces.picLeft.Image() : picture_image;
    views.right_view = surfaces.picResult.Image();
    return views;
}

// Why the imported depth map could not be drawn; nothing when it was.
std::optional<std::string> ImportDepth(const core::DepthLevels& levels, core::Workspace& surfaces) {
    try {
        DrawImportedDepth(levels, surfaces.picDepth);
    } catch (const std::bad_alloc&) {
        return std::string("out of memory");
    } catch (const std::exception& error) {
        return std::string(error.what());
    }
    return std::nullopt;
}

}  // namespace

std::string Result::Failure() const {
    return "the " + failed_step + " step failed: " + reason;
}

Result Run(const platform::Picture& picture, const platform::Display& display,
           const Choices& choices, core::Progress& progress, const Request& request) {
    return Run(picture, display, choices, progress, StandardStages(), request);
}

Result Run(const platform::Picture& picture, const platform::Display& display,
           const Choices& choices, core::Progress& progress, const StageTable& stages,
           const Request& request) {
    const core::DepthLevels* depth_from = request.depth_from;
    Result result;
    try {
        core::Workspace surfaces(display);
        LoadSurfaces(surfaces, picture);
        const platform::Bitmap picture_image = surfaces.picOriginal.Image();
        if (depth_from) {
            if (auto reason = ImportDepth(*depth_from, surfaces)) {
                result.failed_step = "depth map";
                result.reason = std::move(*reason);
                return result;
            }
        }
        core::RunState run;
        run.keep_stage_views = request.stage_views;
        // Nine polled row passes make a classic run with cues 0 to 4.
        run.expected_polls =
            PollsPerRow(choices, depth_from != nullptr) * surfaces.picOriginal.ScaleHeight();
        core::StageContext context{surfaces, choices.settings, choices.values, progress,
                                   run,      choices.parallax, &choices.stereo};
        for (const Step& step : StepsFor(choices, depth_from != nullptr, stages, result)) {
            if (progress.Cancelled()) break;
            if (!step.stage) continue;
            if (auto reason = RunStep(step, context)) {
                result.failed_step = step.name;
                result.reason = std::move(*reason);
                return result;
            }
        }
        if (progress.Cancelled()) {
            result.outcome = Outcome::kCancelled;
            return result;
        }
        result.views = TakeViews(surfaces, choices, picture_image, request.stage_views);
        result.outcome = Outcome::kConverted;
    } catch (const std::bad_alloc&) {
        // Setting the surfaces up, or handing the views over.
        result.failed_step = "preparation";
        result.reason = "out of memory";
    }
    return result;
}

}  // namespace conversion
