#include "app/window_progress.h"

#include <QCoreApplication>
#include <QWidget>

#include "app/progress_band.h"
#include "app/twips.h"

namespace {

constexpr char kPleaseWaitCaption[] = "Please Wait...";
// When the yield last asked the window system for input.
constexpr qint64 kInputCheckMs = 2;

}  // namespace

WindowProgress::WindowProgress(QWidget& window, ProgressBand& band)
    : window_(window), band_(band),
      full_width_twips_(static_cast<float>(twips::FromPixels(window.width()))) {}

// The band starts one twip wide and, over a run with a cue from 0 to 4, grows by the
// window's outer width.
void WindowProgress::Advance(double done) {
    band_.SetWidthTwips(1.0f + static_cast<float>(done) * full_width_twips_);
}

void WindowProgress::LongStep(bool begins) {
    if (begins) {
        saved_title_ = window_.windowTitle();
        window_.setWindowTitle(QString::fromUtf8(kPleaseWaitCaption));
    } else {
        window_.setWindowTitle(saved_title_);
    }
}

// Once per picture row, tens of thousands of times a run. Events posted within the
// program (repaints of the band, queued calls) are delivered at every yield; asking
// the window system for new input costs a system call, and is done when a couple of
// milliseconds have passed since the last time, so that a click on "Cancel" waits no
// longer than that before it is handled.
void WindowProgress::Yield() {
    QCoreApplication::sendPostedEvents();
    if (input_checked_.isValid() && !input_checked_.hasExpired(kInputCheckMs)) return;
    QCoreApplication::processEvents();
    input_checked_.start();
}
