#include "app/user_prompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace {

// A dialog that hands back something other than one local file (a remote address
// from a platform dialog, say) is a failed choice, not a cancelled one.
FileChoice ChoiceOf(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted) return {FileChoice::Outcome::Cancelled, {}};
    const QList<QUrl> urls = dialog.selectedUrls();
    if (urls.size() != 1 || !urls.front().isLocalFile() || urls.front().toLocalFile().isEmpty())
        return {FileChoice::Outcome::Failed, {}};
    return {FileChoice::Outcome::Chosen, urls.front().toLocalFile()};
}

}  // namespace

FileChoice QtUserPrompts::AskOpenFileName(QWidget* owner, const QString& initial_folder) {
    QFileDialog dialog(owner, QString(), initial_folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return ChoiceOf(dialog);
}

FileChoice QtUserPrompts::AskSaveFileName(QWidget* owner, const QString& initial_folder) {
    QFileDialog dialog(owner, QString(), initial_folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return ChoiceOf(dialog);
}

FileChoice QtUserPrompts::AskSaveFormatFile(QWidget* owner, const QString& initial_folder,
                                            const QStringList& filters, QString& chosen_filter) {
    QFileDialog dialog(owner, QString(), initial_folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    const FileChoice choice = ChoiceOf(dialog);
    chosen_filter = dialog.selectedNameFilter();
    return choice;
}

std::optional<int> QtUserPrompts::AskQuality(QWidget* owner, const QString& format, int initial) {
    bool ok = false;
    const int quality = QInputDialog::getInt(
        owner, QStringLiteral("Zarvik"),
        QStringLiteral("%1 quality (0 smallest file, 100 best picture):").arg(format), initial, 0,
        100, 1, &ok);
    if (!ok) return std::nullopt;
    return quality;
}

void QtUserPrompts::ShowMessage(QWidget* owner, const QString& title, const QString& text,
                                MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    title, QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtUserPrompts::Beep() {
    QApplication::beep();
}

void QtUserPrompts::ShowModal(QDialog& dialog) {
    dialog.exec();
}

std::optional<std::uint32_t> QtUserPrompts::AskColour(QWidget* owner, std::uint32_t initial) {
    const QColor chosen =
        QColorDialog::getColor(QColor::fromRgb(initial), owner, QStringLiteral("Background"));
    if (!chosen.isValid()) return std::nullopt;
    return chosen.rgb() & 0xFFFFFFu;
}
