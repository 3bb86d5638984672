#pragma once
// Every modal interaction of the program goes through this interface: the file
// name dialogs, the message boxes, the beep and the modal tuning dialogs. The
// program uses QtUserPrompts; tests put a recorder in its place, so that nothing
// ever waits for a person.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

class QDialog;
class QWidget;

struct FileChoice {
    enum class Outcome { Chosen, Cancelled, Failed };
    Outcome outcome = Outcome::Cancelled;
    QString path;  // the chosen file, as the dialog gave it
};

enum class MessageIcon { None, Exclamation };

class UserPrompts {
  public:
    virtual ~UserPrompts() = default;

    // Lists every file, starts in `initial_folder` (none: the dialog's own choice);
    // the chosen file must exist.
    virtual FileChoice AskOpenFileName(QWidget* owner, const QString& initial_folder) = 0;
    // Asks before overwriting an existing file.
    virtual FileChoice AskSaveFileName(QWidget* owner, const QString& initial_folder) = 0;
    // A save offering these name filters; `chosen_filter` is set to the one chosen.
    // Prompts that offer no filters ask as above, leaving it empty.
    virtual FileChoice AskSaveFormatFile(QWidget* owner, const QString& initial_folder,
                                         const QStringList& /*filters*/,
                                         QString& /*chosen_filter*/) {
        return AskSaveFileName(owner, initial_folder);
    }
    // The quality (0 to 100) of a lossy format's file, starting at `initial`; none
    // when the user cancels.
    virtual std::optional<int> AskQuality(QWidget* /*owner*/, const QString& /*format*/,
                                          int initial) {
        return initial;
    }
    // An OK-only message box. Lines of `text` are separated by "\r\n".
    virtual void ShowMessage(QWidget* owner, const QString& title, const QString& text,
                             MessageIcon icon) = 0;
    virtual void Beep() = 0;
    // Shows the dialog modally and returns when it closes.
    virtual void ShowModal(QDialog& dialog) = 0;
    // A colour, 0xRRGGBB, starting from `initial`; nothing when cancelled. Not asked
    // by default, so that a recorder that does not know it answers "cancelled".
    virtual std::optional<std::uint32_t> AskColour(QWidget* owner, std::uint32_t initial) {
        (void)owner;
        (void)initial;
        return std::nullopt;
    }
};

class QtUserPrompts : public UserPrompts {
  public:
    FileChoice AskOpenFileName(QWidget* owner, const QString& initial_folder) override;
    FileChoice AskSaveFileName(QWidget* owner, const QString& initial_folder) override;
    FileChoice AskSaveFormatFile(QWidget* owner, const QString& initial_folder,
                                 const QStringList& filters, QString& chosen_filter) override;
    std::optional<int> AskQuality(QWidget* owner, const QString& format, int initial) override;
    void ShowMessage(QWidget* owner, const QString& title, const QString& text,
                     MessageIcon icon) override;
    void Beep() override;
    void ShowModal(QDialog& dialog) override;
    std::optional<std::uint32_t> AskColour(QWidget* owner, std::uint32_t initial) override;
};
