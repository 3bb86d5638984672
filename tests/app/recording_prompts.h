#pragma once
// Stands in for every modal interaction of the window: answers the file dialogs
// from a queue, records messages and beeps, and hands modal dialogs to a test
// callback instead of running their event loop.
#include <QDialog>
#include <QList>
#include <QString>
#include <deque>
#include <functional>

#include "app/user_prompts.h"

struct RecordedMessage {
    QString title;
    QString text;
    MessageIcon icon = MessageIcon::None;
};

struct RecordedFileDialog {
    bool save = false;
    QString initial_folder;
};

class RecordingPrompts : public UserPrompts {
  public:
    FileChoice AskOpenFileName(QWidget* /*owner*/, const QString& initial_folder) override {
        return Next(false, initial_folder);
    }
    FileChoice AskSaveFileName(QWidget* /*owner*/, const QString& initial_folder) override {
        return Next(true, initial_folder);
    }
    void ShowMessage(QWidget* /*owner*/, const QString& title, const QString& text,
                     MessageIcon icon) override {
        messages.push_back({title, text, icon});
    }
    void Beep() override { ++beeps; }
    void ShowModal(QDialog& dialog) override {
        ++modal_dialogs;
        if (on_modal) on_modal(dialog);
    }

    // What the next file dialog answers; an empty queue answers "cancelled".
    std::deque<FileChoice> answers;
    QList<RecordedFileDialog> file_dialogs;
    QList<RecordedMessage> messages;
    int beeps = 0;
    int modal_dialogs = 0;
    std::function<void(QDialog&)> on_modal;

  private:
    FileChoice Next(bool save, const QString& initial_folder) {
        file_dialogs.push_back({save, initial_folder});
        if (answers.empty()) return {FileChoice::Outcome::Cancelled, {}};
        FileChoice answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

inline FileChoice Chosen(const QString& path) {
    return {FileChoice::Outcome::Chosen, path};
}
