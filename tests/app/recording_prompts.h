#pragma once
// Stands in for every modal interaction of the window: answers the file dialogs
// from a queue, records the messages' texts and the quality questions, and hands
// modal dialogs to a test callback instead of running their event loop.
#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>

#include "app/user_prompts.h"

class RecordingPrompts : public UserPrompts {
  public:
    FileChoice AskOpenFileName(QWidget*, const QString&) override { return Next(); }
    FileChoice AskSaveFileName(QWidget*, const QString&) override { return Next(); }
    void ShowMessage(QWidget* /*owner*/, const QString& /*title*/, const QString& text,
                     MessageIcon /*icon*/) override {
        messages << text;
    }
    void Beep() override {}
    void ShowModal(QDialog& dialog) override {
        if (on_modal) on_modal(dialog);
    }
    std::optional<std::uint32_t> AskColour(QWidget*, std::uint32_t) override {
        if (colours.empty()) return std::nullopt;
        const std::uint32_t colour = colours.front();
        colours.pop_front();
        return colour;
    }
    std::optional<int> AskQuality(QWidget*, const QString& format, int initial) override {
        qualities_asked << QStringLiteral("%1 %2").arg(format).arg(initial);
        return quality;
    }

    // The files the next file dialogs choose; an empty queue answers "cancelled".
    std::deque<QString> answers;
    // The colours the next colour dialogs choose; an empty queue answers "cancelled".
    std::deque<std::uint32_t> colours;
    QStringList messages;
    // Each quality question as "FORMAT initial", and the answer every one gets.
    QStringList qualities_asked;
    std::optional<int> quality = 80;
    std::function<void(QDialog&)> on_modal;

  private:
    FileChoice Next() {
        if (answers.empty()) return {FileChoice::Outcome::Cancelled, {}};
        FileChoice answer{FileChoice::Outcome::Chosen, answers.front()};
        answers.pop_front();
        return answer;
    }
};
