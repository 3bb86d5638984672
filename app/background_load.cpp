#include "app/background_load.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <memory>

std::optional<pictureio::LoadedPicture> BackgroundLoad::Load(const QString& path,
                                                             const platform::Display& display,
                                                             std::uint32_t background) {
    platform::Display worker_display = display;
    worker_display.SetEventPump({});
    QFutureWatcher<std::shared_ptr<pictureio::LoadedPicture>> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run([path, worker_display, background] {
        return std::make_shared<pictureio::LoadedPicture>(
            pictureio::LoadPictureFile(path, worker_display, background));
    }));
    cancelled_ = false;
    quit_ = [&loop] { loop.quit(); };
    if (!watcher.isFinished()) loop.exec();
    quit_ = nullptr;
    if (cancelled_) return std::nullopt;
    return std::move(*watcher.result());
}

void BackgroundLoad::Cancel() {
    cancelled_ = true;
    if (quit_) quit_();
}
