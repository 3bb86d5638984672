#pragma once
// Everything a user chooses for a conversion: the menus' choices and the dialogs'
// values. Each member's defaults give the classic conversion; the settings table
// (settings_table.h) says which of them are stored, under which key.
#include "core/conversion_settings.h"
#include "core/parallax_choices.h"
#include "core/picture_choices.h"
#include "core/scene_choices.h"
#include "core/stereo_choices.h"
#include "core/tavs_mod.h"

namespace core {

struct Choices {
    ConversionSettings settings;  // the menus' choices
    TavsMod::Values values;       // the dialogs' values
    StereoChoices stereo;         // how the two views are joined or laid out
    PictureChoices picture;       // how a picture file is read
    ParallaxChoices parallax;     // the scaled strength and the screen plane
    SceneChoices scene;           // the layout the depth map follows

    friend bool operator==(const Choices&, const Choices&) = default;
};

}  // namespace core
