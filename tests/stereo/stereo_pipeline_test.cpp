// The stereo stages as the Anaglyph command runs them, without any depth stage: the
// reload leaves the picture itself in picDepth, whose blue channel then serves as
// the depth map.
#include <gtest/gtest.h>

#include "core/pipeline.h"
#include "stereo/anaglyph_composition.h"
#include "stereo/frame.h"
#include "stereo/stereo_stages.h"
#include "tests/stereo/stage_bench.h"

namespace {

using stereo_testing::CellColor;
using stereo_testing::ImageBytes;
using stereo_testing::StageBench;
using testing_support::MakePicture;

core::StageTable StereoOnly() {
    core::StageTable table;
    stereo::FillStereoStages(table);
    return table;
}

void Configure(StageBench& bench) {
    bench.settings.ShowFrame = 1;
    bench.settings.FrameColor = 1;
    bench.settings.DoShift = true;
    bench.globals.glbBusy = 0;
    bench.globals.glbShift = 2;
    bench.host.AttachWorkspace(bench.surfaces, MakePicture(bench.display, 11, 5, CellColor));
    bench.host.Reload();
}

// The command's run equals the two stages called by hand on a twin window, and the
// frame lands on picOriginal.
TEST(StereoStages, ConvertEndToEndOnEveryDisplayFormat) {
    for (const int depth_bits : stereo_testing::kDisplayDepths) {
        StageBench bench(depth_bits);
        Configure(bench);
        core::AnaglyphCommand command(bench.context, StereoOnly());
        command.mnuAnaglyph_Click();

        StageBench twin(depth_bits);
        Configure(twin);
        twin.globals.glbBusy = TavsMod::kTrue;
        stereo::MakeAnaglyph(twin.context);
        stereo::DrawFrame(twin.context, twin.surfaces.picOriginal);

        EXPECT_EQ(command.CurrentState(), core::AnaglyphCommand::State::Idle);
        EXPECT_EQ(bench.globals.glbBusy, 0);
        EXPECT_EQ(bench.host.command_caption, "Anaglyph");
        EXPECT_EQ(ImageBytes(bench.surfaces.picOriginal), ImageBytes(twin.surfaces.picOriginal))
            << depth_bits << " bits";
        EXPECT_TRUE(stereo_testing::PictureIsImage(bench.surfaces.picOriginal));
        EXPECT_EQ(bench.surfaces.picOriginal.Point(0, 4), platform::RGB(255, 255, 255));
        EXPECT_EQ(bench.host.band_widths.size(), 1u + 5u * 5u) << depth_bits << " bits";
    }
}

}  // namespace
