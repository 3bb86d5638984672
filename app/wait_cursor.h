#pragma once
// The hourglass while a file command works; put back on every way out.
#include <QApplication>

class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { Restore(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    void Restore() {
        if (!active_) return;
        QApplication::restoreOverrideCursor();
        active_ = false;
    }

  private:
    bool active_ = true;
};
