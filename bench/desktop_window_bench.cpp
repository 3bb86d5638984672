// A whole conversion through the desktop window's "Anaglyph" command against the same
// conversion through the conversion call, in the same run. The window's run is what a
// user waits for: it reloads the picture file, converts on a worker thread while the
// UI thread grows the progress band, and repaints the picture view. The picture is a
// 4000 x 3000 file (BMP and JPEG) on a 32-bit display. Timed on their own too: reloading
// the unchanged file, which starts every run; decoding the file, as opening it does; Open
// up to the fitted picture painted; and a menu change up to the live result's preview
// and up to its full-size result, each painted; with the UI thread's processor time.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/frm_qelun.h"
#include "app/picture_view.h"
#include "app/progress_band.h"
#include "app/user_prompts.h"
#include "conversion/run.h"
#include "core/large_allocations.h"
#include "io/picture_io.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// Answers every Open with the benchmark's picture; nothing else is ever asked.
class PictureFilePrompts : public UserPrompts {
  public:
    explicit PictureFilePrompts(QString path) : path_(std::move(path)) {}
    FileChoice AskOpenFileName(QWidget*, const QString&) override {
        return {FileChoice::Outcome::Chosen, path_};
    }
    FileChoice AskSaveFileName(QWidget*, const QString&) override { return {}; }
    void ShowMessage(QWidget*, const QString&, const QString&, MessageIcon) override {}
    void Beep() override {}
    void ShowModal(QDialog&) override {}

  private:
    QString path_;
};

// The photo-like picture of the conversion benchmark: smooth gradients with some
// texture, so that every depth band is taken.
QImage MakePhoto() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const int r = (x * 255 / kWidth + ((x * 7 + y * 13) % 17)) & 0xFF;
            const int g = (y * 255 / kHeight + ((x * 3) % 11)) & 0xFF;
            const int b = ((x + y) * 255 / (kWidth + kHeight) + ((y * 5) % 23)) & 0xFF;
            row[x] = qRgb(r, g, b);
        }
    }
    return image;
}

// The picture as a file of the given format: an uncompressed BMP, whose 36 MB are the
// most a reload has to compare, and a JPEG such as a camera writes.
QString PicturePath(const std::string& format) {
    static QTemporaryDir folder;
    static std::map<std::string, QString> paths;
    auto [place, fresh] = paths.try_emplace(format);
    if (fresh) {
        place->second = folder.filePath(QStringLiteral("photo.") + QString::fromStdString(format));
        MakePhoto().save(place->second, nullptr, 90);
    }
    return place->second;
}

// The windows are closed by main(), before the application they belong to goes.
std::map<std::string, std::unique_ptr<frmQelun>> windows;

// The window as the program starts it, with the picture opened.
frmQelun& Window(const std::string& format) {
    std::unique_ptr<frmQelun>& window = windows[format];
    if (!window) {
        window = std::make_unique<frmQelun>(
            std::make_unique<PictureFilePrompts>(PicturePath(format)), 32);
        window->Form_Load();
        window->mnuFileOpen_Click();
        QApplication::processEvents();
    }
    return *window;
}

void MemcpyOfTheGrid(benchmark::State& state) {
    const auto bytes = std::size_t{kWidth} * kHeight * 3;
    std::vector<std::uint8_t> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

// The conversion call, as the converter runs it.
struct CoreRun {
    platform::Display display{32};
    std::optional<platform::Picture> picture;
    conversion::Choices choices;

    explicit CoreRun(const std::string& format) {
        picture = pictureio::LoadPictureFile(PicturePath(format), display).picture;
    }
    void Convert() const {
        core::Progress progress;
        const conversion::Result result = conversion::Run(*picture, display, choices, progress);
        benchmark::DoNotOptimize(result.views.anaglyph.bitmap.Bits().data());
    }
};

void CoreConversion(benchmark::State& state) {
    CoreRun core("bmp");
    if (!core.picture) {
        state.SkipWithError("the picture file cannot be read");
        return;
    }
    for (auto _ : state) {
        core.Convert();
    }
}

void DecodePictureFile(benchmark::State& state, const std::string& format) {
    const platform::Display display(32);
    for (auto _ : state) {
        pictureio::LoadedPicture loaded = pictureio::LoadPictureFile(PicturePath(format), display);
        if (!loaded.picture) state.SkipWithError("the picture file cannot be read");
        benchmark::DoNotOptimize(loaded.picture);
    }
}

void DesktopReload(benchmark::State& state, const std::string& format) {
    frmQelun& window = Window(format);
    for (auto _ : state) {
        window.mnuFileReload_Click();
        QApplication::processEvents();
    }
}

// Waits, handling the window's events, for `done`.
template <typename Done>
void HandleEventsUntil(Done done) {
    while (!done()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

// Paints the view as it is now, and again once what it paints has been made off the UI
// thread: what a user sees is there only then.
void PaintSettled(PictureView& view) {
    view.viewport()->repaint();
    HandleEventsUntil([&] { return !view.Preparing(); });
    view.viewport()->repaint();
}

// The UI thread's processor time. It is a loose measure both ways: Qt's smooth scaling
// and the bitmap conversions hand parts of their work to other threads and wait for
// them, while the waiting here (and the stall meter's timer) wakes the thread every
// millisecond or so; the longest stall says better what a user would feel.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The longest the UI thread went without handling its events: a timer due every
// millisecond is late by as long as anything held the thread.
class StallMeter {
  public:
    StallMeter() {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout,
                         [this] { longest_ = std::max(longest_, since_.restart()); });
        since_.start();
        timer_.start();
    }
    double LongestSeconds() const { return static_cast<double>(longest_) / 1000.0; }

  private:
    QTimer timer_;
    QElapsedTimer since_;
    qint64 longest_ = 0;
};

void AnaglyphRun(frmQelun& window) {
    window.mnuAnaglyph_Click();
    HandleEventsUntil([&] { return !window.Running(); });
}

// From Open to the picture painted fitted in the view, as a user waits for it.
void DesktopOpenToFittedPicture(benchmark::State& state, const std::string& format) {
    frmQelun& window = Window(format);
    window.resize(1280, 1000);
    window.show();
    QApplication::processEvents();
    const double ui_start = ThreadSeconds();
    const StallMeter stalls;
    for (auto _ : state) {
        window.OpenPicturePath(PicturePath(format));
        PaintSettled(*window.View());
    }
    state.counters["zoom"] = window.View()->Zoom();
    state.counters["ui_cpu_s"] =
        (ThreadSeconds() - ui_start) / static_cast<double>(state.iterations());
    state.counters["ui_stall_s"] = stalls.LongestSeconds();
}

// The lens switched from the menu, and the time until its preview shows and until
// the full-size result is painted, summed over the benchmark's iterations.
struct ChangeTimes {
    using Clock = std::chrono::steady_clock;
    Clock::duration preview{};
    Clock::duration full{};

    void Change(frmQelun& window, int lens) {
        const auto start = Clock::now();
        window.Menus().mnuRedBlue[std::size_t(lens)]->trigger();
        HandleEventsUntil([&] { return window.View()->ShowingPreview() || !window.LiveRunning(); });
        window.View()->viewport()->repaint();
        preview += Clock::now() - start;
        HandleEventsUntil([&] { return !window.LiveRunning(); });
        PaintSettled(*window.View());
        full += Clock::now() - start;
    }

    void Report(benchmark::State& state) const {
        const auto seconds = [&](Clock::duration total) {
            return std::chrono::duration<double>(total).count() /
                   static_cast<double>(state.iterations());
        };
        state.counters["preview_s"] = seconds(preview);
        state.counters["full_s"] = seconds(full);
    }
};

// From a menu change to the live result: first its preview at the displayed size,
// then the full-size result. The counters are means over the iterations, in seconds.
// The argument is the WarpDepth › Strength entry: 0 Classic, 2 the scaled 2 %.
void DesktopLiveResultAfterMenuChange(benchmark::State& state) {
    frmQelun& window = Window("jpg");
    window.resize(1280, 1000);
    window.show();
    window.Menus().parallax.mnuStrengthLevel[std::size_t(state.range(0))]->trigger();
    HandleEventsUntil([&] { return !window.LiveRunning(); });
    QApplication::processEvents();
    ChangeTimes times;
    int lens = 0;
    const double ui_start = ThreadSeconds();
    const StallMeter stalls;
    for (auto _ : state) {
        lens = 1 - lens;
        times.Change(window, lens);
    }
    times.Report(state);
    state.counters["ui_cpu_s"] =
        (ThreadSeconds() - ui_start) / static_cast<double>(state.iterations());
    state.counters["ui_stall_s"] = stalls.LongestSeconds();
    window.Menus().parallax.mnuStrengthLevel[0]->trigger();
    HandleEventsUntil([&] { return !window.LiveRunning(); });
}

// The same for the first change after Open, when no preview has been made of the
// picture yet: the picture is opened afresh, untimed, before each change.
void DesktopFirstChangeAfterOpen(benchmark::State& state) {
    frmQelun& window = Window("jpg");
    window.resize(1280, 1000);
    window.show();
    QApplication::processEvents();
    using Clock = std::chrono::steady_clock;
    ChangeTimes times;
    int lens = 0;
    for (auto _ : state) {
        state.PauseTiming();
        window.OpenPicturePath(PicturePath("jpg"));
        PaintSettled(*window.View());
        // What a user does before choosing: looks at the picture for a moment.
        const auto looked = Clock::now() + std::chrono::milliseconds(300);
        HandleEventsUntil([&] { return Clock::now() >= looked; });
        lens = 1 - lens;
        state.ResumeTiming();
        times.Change(window, lens);
    }
    times.Report(state);
}

void DesktopConversion(benchmark::State& state, const std::string& format) {
    frmQelun& window = Window(format);
    for (auto _ : state) {
        AnaglyphRun(window);
        benchmark::DoNotOptimize(window.Surfaces().picOriginal.Image().Bits().data());
    }
    // What the last run left on screen is painted too, as the window would be.
    QApplication::processEvents();
}

// The two conversions taken in turns, so that whatever else keeps the machine busy
// slows both alike; the counter is the window's time over the core's.
void DesktopOverCore(benchmark::State& state, const std::string& format) {
    CoreRun core(format);
    frmQelun& window = Window(format);
    if (!core.picture) {
        state.SkipWithError("the picture file cannot be read");
        return;
    }
    using Clock = std::chrono::steady_clock;
    Clock::duration core_time{}, window_time{};
    for (auto _ : state) {
        const auto start = Clock::now();
        core.Convert();
        const auto between = Clock::now();
        AnaglyphRun(window);
        QApplication::processEvents();
        window_time += Clock::now() - between;
        core_time += between - start;
    }
    state.counters["window/core"] =
        std::chrono::duration<double>(window_time) / std::chrono::duration<double>(core_time);
}

BENCHMARK(MemcpyOfTheGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(CoreConversion)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(DesktopOpenToFittedPicture, jpeg, "jpg")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(DesktopLiveResultAfterMenuChange)
    ->Arg(0)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(DesktopFirstChangeAfterOpen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(DecodePictureFile, bmp, "bmp")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(DecodePictureFile, jpeg, "jpg")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(DesktopReload, bmp, "bmp")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(DesktopReload, jpeg, "jpg")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(DesktopConversion, bmp, "bmp")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(DesktopOverCore, bmp, "bmp")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(DesktopOverCore, jpeg, "jpg")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char* argv[]) {
    // The settings store lives in a folder of its own, so that no run reads or
    // changes the user's settings; the window needs no screen.
    QTemporaryDir config;
    if (!config.isValid()) return 2;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    core::KeepLargeBlocksForReuse();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Zarvik"));
    QApplication::setApplicationName(QStringLiteral("Zarvik"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    windows.clear();
    return 0;
}
