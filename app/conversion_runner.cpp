#include "app/conversion_runner.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include <cmath>

namespace {

// The worker's progress: posts what the UI thread should show, at most once per
// thousandth of the run, so that a run of tens of thousands of rows posts a few
// hundred events rather than one a row.
class PostingProgress : public core::Progress {
  public:
    PostingProgress(ConversionRunner& runner, std::function<bool()> current)
        : runner_(&runner), current_(std::move(current)) {}

    void Advance(double done) override {
        const int step = static_cast<int>(std::floor(done * 1000.0));
        if (step == last_step_) return;
        last_step_ = step;
        Post([done](ConversionRunner& r, bool current) {
            if (current) emit r.Advanced(done);
        });
    }
    void LongStep(bool begins) override {
        Post([begins](ConversionRunner& r, bool current) {
            if (current) emit r.LongStep(begins);
        });
    }

  private:
    template <typename Show>
    void Post(Show show) {
        QMetaObject::invokeMethod(
            runner_.data(),
            [runner = runner_, current = current_, show] {
                if (runner) show(*runner, current());
            },
            Qt::QueuedConnection);
    }

    QPointer<ConversionRunner> runner_;
    std::function<bool()> current_;
    int last_step_ = -1;
};

}  // namespace

struct ConversionRunner::Job {
    std::shared_ptr<std::atomic<bool>> current = std::make_shared<std::atomic<bool>>(true);
    std::unique_ptr<PostingProgress> progress;
    QFutureWatcher<std::shared_ptr<conversion::Result>> watcher;
    Done done;
};

ConversionRunner::ConversionRunner(QObject* parent) : QObject(parent) {}

ConversionRunner::~ConversionRunner() {
    for (const auto& job : jobs_) job->progress->Cancel();
    for (const auto& job : jobs_) {
        job->watcher.disconnect();
        job->watcher.waitForFinished();
    }
}

void ConversionRunner::Start(platform::Picture picture, const platform::Display& display,
                             const core::Choices& choices, Done done, Reduce reduce,
                             std::optional<core::DepthLevels> depth_from) {
    Cancel();
    auto job = std::make_unique<Job>();
    job->done = std::move(done);
    job->progress =
        std::make_unique<PostingProgress>(*this, [flag = job->current] { return flag->load(); });
    // The worker's display yields to nobody: only the UI thread handles events.
    platform::Display worker_display = display;
    worker_display.SetEventPump({});
    core::Progress& progress = *job->progress;
    Job* started = job.get();
    connect(&job->watcher, &QFutureWatcherBase::finished, this,
            [this, started] { Finished(started); });
    job->watcher.setFuture(
        QtConcurrent::run([picture = std::move(picture), worker_display, choices, &progress,
                           reduce = std::move(reduce), depth_from = std::move(depth_from)] {
            const conversion::Request request{.depth_from = depth_from ? &*depth_from : nullptr};
            if (!reduce)
                return std::make_shared<conversion::Result>(
                    conversion::Run(picture, worker_display, choices, progress, request));
            return std::make_shared<conversion::Result>(
                conversion::Run(reduce(picture), worker_display, choices, progress, request));
        }));
    current_ = started;
    jobs_.push_back(std::move(job));
}

void ConversionRunner::Cancel() {
    if (!current_) return;
    current_->current->store(false);
    current_->progress->Cancel();
    current_ = nullptr;
}

void ConversionRunner::Finished(Job* job) {
    const bool wanted = job == current_;
    if (wanted) current_ = nullptr;
    std::shared_ptr<conversion::Result> result = job->watcher.result();
    Done done = std::move(job->done);
    // The watcher is still inside its own signal: it goes once that has returned.
    for (auto held = jobs_.begin(); held != jobs_.end(); ++held) {
        if (held->get() != job) continue;
        std::shared_ptr<Job> gone(std::move(*held));
        jobs_.erase(held);
        QMetaObject::invokeMethod(
            this, [gone] {}, Qt::QueuedConnection);
        break;
    }
    if (wanted && result) done(*result);
}
