// The "Stereo" menu's handlers: the join's method and glasses, and the layout.
#include "app/frm_qelun.h"
#include "app/option_group.h"

namespace {

template <std::size_t N>
bool Fits(const std::array<QAction*, N>& /*group*/, int index) {
    return index >= 0 && index < static_cast<int>(N);
}

}  // namespace

void frmQelun::ConnectStereoMenus() {
    const StereoMenus& m = menus_.stereo;
    for (int i = 0; i < static_cast<int>(m.mnuMethods.size()); ++i)
        connect(m.mnuMethods[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { mnuStereoMethod_Click(i); });
    for (int i = 0; i < static_cast<int>(m.mnuGlassesKinds.size()); ++i)
        connect(m.mnuGlassesKinds[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { mnuStereoGlasses_Click(i); });
    for (int i = 0; i < static_cast<int>(m.mnuLayouts.size()); ++i)
        connect(m.mnuLayouts[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { mnuStereoLayout_Click(i); });
}

// A stored value outside a group converts as the default, so the default is checked.
void frmQelun::ShowStereoChecks() {
    const core::StereoChoices& s = choices_.stereo;
    CheckOnly(menus_.stereo.mnuMethods, static_cast<int>(s.Method()));
    CheckOnly(menus_.stereo.mnuGlassesKinds, static_cast<int>(s.Glasses()));
    CheckOnly(menus_.stereo.mnuLayouts, static_cast<int>(s.Layout()));
}

void frmQelun::mnuStereoMethod_Click(int index) {
    if (!Fits(menus_.stereo.mnuMethods, index)) return;
    choices_.stereo.method = static_cast<std::int16_t>(index);
    ShowStereoChecks();
    ChoicesChanged();
}

void frmQelun::mnuStereoGlasses_Click(int index) {
    if (!Fits(menus_.stereo.mnuGlassesKinds, index)) return;
    choices_.stereo.glasses = static_cast<std::int16_t>(index);
    ShowStereoChecks();
    ChoicesChanged();
}

void frmQelun::mnuStereoLayout_Click(int index) {
    if (!Fits(menus_.stereo.mnuLayouts, index)) return;
    choices_.stereo.layout = static_cast<std::int16_t>(index);
    ShowStereoChecks();
    ChoicesChanged();
}
