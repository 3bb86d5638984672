// Window › Background: the colour transparent pixels are laid over when a picture
// is read. The opened picture is read again with it at the next run or reload.
#include <QColor>

#include "app/frm_qelun.h"

void frmQelun::ConnectBackgroundMenu() {
    const BackgroundMenu& m = menus_.background;
    connect(m.mnuBackgroundWhite, &QAction::triggered, this, [this] { SetBackground(0xFFFFFF); });
    connect(m.mnuBackgroundBlack, &QAction::triggered, this, [this] { SetBackground(0x000000); });
    connect(m.mnuBackgroundOther, &QAction::triggered, this,
            [this] { mnuBackgroundOther_Click(); });
}

void frmQelun::mnuBackgroundOther_Click() {
    const auto chosen = prompts_->AskColour(this, choices_.picture.background);
    if (chosen)
        SetBackground(*chosen);
    else
        ShowBackgroundCheck(menus_.background, choices_.picture.background);
}

void frmQelun::SetBackground(std::uint32_t background) {
    choices_.picture.background = background & 0xFFFFFFu;
    ShowBackgroundCheck(menus_.background, choices_.picture.background);
    // The kept picture was laid over the old colour: the file is read again.
    last_loaded_bytes_.clear();
    ChoicesChanged();
}
