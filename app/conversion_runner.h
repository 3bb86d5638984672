#pragma once
// Runs conversions on worker threads, one wanted at a time: starting a run cancels
// the one before it, whose result is dropped when it arrives. The window stays
// responsive throughout; progress and the result come back on the UI thread.
#include <QObject>
#include <functional>
#include <list>
#include <memory>
#include <optional>

#include "conversion/run.h"
#include "core/choices.h"
#include "core/depth_levels.h"
#include "platform/display.h"
#include "platform/picture_surface.h"

class ConversionRunner : public QObject {
    Q_OBJECT

  public:
    using Done = std::function<void(conversion::Result&)>;
    // Makes the picture converted from the one given, on the worker (a preview's
    // reduction to the displayed size).
    using Reduce = std::function<platform::Picture(const platform::Picture&)>;

    explicit ConversionRunner(QObject* parent = nullptr);
    // Cancels every run still going and waits for them: none outlives the window.
    ~ConversionRunner() override;

    // Converts a copy of everything it is given, so that the window may change its
    // choices and surfaces meanwhile. `done` is called on the UI thread, only if no
    // later run has started and the run was not cancelled by Cancel().
    // A `reduce` first makes the picture converted, on the worker.
    // `depth_from`, a depth map of the picture's size, takes the cue's place.
    void Start(platform::Picture picture, const platform::Display& display,
               const core::Choices& choices, Done done, Reduce reduce = {},
               std::optional<core::DepthLevels> depth_from = {});
    // Cancels the current run; its result is dropped.
    void Cancel();
    // A wanted run has not finished yet.
    bool Busy() const { return current_ != nullptr; }

  signals:
    // The current run's share done, from 0 to 1.
    void Advanced(double done);
    // The current run enters (true) or leaves a step that polls no rows.
    void LongStep(bool begins);

  private:
    struct Job;
    void Finished(Job* job);

    std::list<std::unique_ptr<Job>> jobs_;  // the current run and cancelled ones unwinding
    Job* current_ = nullptr;
};
