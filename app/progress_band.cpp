#include "app/progress_band.h"

#include <QPalette>
#include <algorithm>
#include <cmath>

#include "app/twips.h"

ProgressBand::ProgressBand(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    // It only ever grows along a row, one colour throughout: a wider band needs only
    // its new strip painted, not the whole band again.
    setAttribute(Qt::WA_StaticContents);
    QPalette band = palette();
    band.setColor(QPalette::Window, band.color(QPalette::Highlight));
    setPalette(band);
    setGeometry(0, 0, twips::ToPixels(kHeightTwips), twips::ToPixels(kHeightTwips));
    hide();
}

void ProgressBand::SetWidthTwips(float width) {
    // The running total can outgrow any window; a widget is at most 16777215 wide.
    const double clamped = std::clamp(static_cast<double>(width), 0.0, 16777215.0 * 15.0);
    const int pixels = std::isfinite(width) ? twips::ToPixels(clamped) : 0;
    // A row's step is a small part of a pixel on a large picture: most rows leave the
    // band where it was, and asking Qt to place it again costs more than the row.
    const QRect place(0, 0, pixels, twips::ToPixels(kHeightTwips));
    if (geometry() != place) setGeometry(place);
}
