#include "app/frm_depth_grain.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>
#include <limits>

#include "app/histogram_box.h"
#include "app/twips.h"

namespace {

QRect TwipsRect(int left, int top, int width, int height) {
    return {twips::ToPixels(left), twips::ToPixels(top), twips::ToPixels(width),
            twips::ToPixels(height)};
}

constexpr std::array<int, frmDepthGrain::kRanges> kRowTops = {2280, 2640, 3000, 3360, 3720};
constexpr int kRangeFrameLeft = 720;
constexpr int kRangeFrameTop = 2160;

// The designed label boxes are narrow for today's fonts; a caption that would be
// cut is shown a point or two smaller instead.
void FitCaption(QLabel& label) {
    QFont font = label.font();
    if (font.pointSizeF() <= 0) return;  // a pixel-sized font is left alone
    while (font.pointSizeF() > 6.0 &&
           QFontMetrics(font).horizontalAdvance(label.text()) > label.width()) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    label.setFont(font);
}

QLineEdit* ValueBox(QWidget* parent, int left, int top) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(TwipsRect(left, top, 735, 285));
    // The boxes only show the boundaries; nothing is read back from them.
    box->setReadOnly(true);
    return box;
}

}  // namespace

frmDepthGrain::frmDepthGrain(TavsMod::Values& values, QWidget* owner)
    : QDialog(owner), values_(values), opening_depth_(values.Depth) {
    setWindowTitle(QStringLiteral("Set Depth Granularity"));
    BuildControls();
    Form_Load();
}

void frmDepthGrain::BuildControls() {
    setFixedSize(twips::ToPixels(4575), twips::ToPixels(4365));
    Command2 = new QPushButton(QStringLiteral("Default"), this);
    Command2->setGeometry(TwipsRect(480, 120, 855, 255));
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setGeometry(TwipsRect(3720, 120, 375, 255));
    Command3 = new QPushButton(QStringLiteral("Cancel"), this);
    Command3->setGeometry(TwipsRect(2640, 120, 975, 255));
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(false);
    Command3->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });

    picHistogram = new HistogramBox(this);
    picHistogram->setGeometry(TwipsRect(480, 480, 3615, 1695));
    connect(picHistogram, &HistogramBox::MouseUp, this,
            [this](int button, int shift, float x, float y) {
                picHistogram_MouseUp(button, shift, x, y);
            });

    auto* Picture1 = new QFrame(this);
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setGeometry(TwipsRect(kRangeFrameLeft, kRangeFrameTop, 1335, 1935));
    for (int i = 0; i < kRanges; ++i) {
        const int top = kRowTops[static_cast<std::size_t>(i)];
        const auto at = static_cast<std::size_t>(i);
        optDepth[at] = new QRadioButton(this);
        optDepth[at]->setGeometry(TwipsRect(480, top, 255, 255));
        connect(optDepth[at], &QRadioButton::clicked, this, [this, i] { optDepth_Click(i); });
        Label1[at] = new QLabel(QStringLiteral("Grain Range #%1:").arg(i + 1), Picture1);
        Label1[at]->setGeometry(TwipsRect(60, top - kRangeFrameTop, 1335 - 120, 285));
        FitCaption(*Label1[at]);
        txtFrom[at] = ValueBox(this, 2160, top);
        Label2[at] = new QLabel(QStringLiteral("to"), this);
        Label2[at]->setGeometry(TwipsRect(3000, top, 300, 285));
        txtTo[at] = ValueBox(this, 3360, top);
    }
}

void frmDepthGrain::ShowDepthValues() {
    const auto& depth = values_.Depth;
    txtFrom[0]->setText(QStringLiteral("0"));
    for (std::size_t i = 1; i < kRanges; ++i) txtFrom[i]->setText(QString::number(depth[i - 1]));
    for (std::size_t i = 0; i + 1 < kRanges; ++i)
        txtTo[i]->setText(QString::number(static_cast<int>(depth[i]) - 1));
    txtTo[kRanges - 1]->setText(QString::number(depth[kRanges - 1]));
    for (int i = 0; i < kRanges; ++i) picHistogram->SetLineX(i, depth[static_cast<std::size_t>(i)]);
}

void frmDepthGrain::Form_Load() {
    ShowDepthValues();
}

void frmDepthGrain::ShowHistogram(const depthhistogram::Counts& counts) {
    picHistogram->Cls();
    // With no depth value above 0 there is nothing to scale to; one pixel as the
    // peak keeps the axis where a real histogram has it.
    const std::int32_t peak = std::max(depthhistogram::PeakOf(counts), 1);
    picHistogram->SetScale(-1.0f, static_cast<float>(1.1 * peak), 258.0f,
                           static_cast<float>(-1.2 * peak));
    picHistogram->DrawBars(counts);
}

void frmDepthGrain::optDepth_Click(int index) {
    if (index >= 0 && index < kRanges) selected_ = static_cast<std::int16_t>(index);
}

void frmDepthGrain::picHistogram_MouseUp(int /*button*/, int /*shift*/, float x, float /*y*/) {
    const double rounded = std::nearbyint(static_cast<double>(x));
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
          rounded <= std::numeric_limits<std::int16_t>::max())) {
        return;
    }
    const auto xi = static_cast<std::int16_t>(rounded);
    const std::size_t s = static_cast<std::size_t>(selected_);
    auto& depth = values_.Depth;
    if (s > 0 && depth[s - 1] >= xi) return;
    if (s < kRanges - 1 && xi >= depth[s + 1]) return;
    depth[s] = xi;
    // Shown as on opening, so that a range reads the same when the dialog opens again.
    ShowDepthValues();
    emit ValuesChanged();
}

void frmDepthGrain::Command2_Click() {
    values_.Depth = TavsMod::kDefaultDepth;
    ShowDepthValues();
    emit ValuesChanged();
}

void frmDepthGrain::Command1_Click() {
    accept();
}

void frmDepthGrain::Command3_Click() {
    reject();
}

void frmDepthGrain::reject() {
    const bool changed = values_.Depth != opening_depth_;
    values_.Depth = opening_depth_;
    if (changed) emit ValuesChanged();
    QDialog::reject();
}
