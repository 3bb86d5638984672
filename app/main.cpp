// Zarvik's desktop program: `zarvik [FILE]` opens FILE once the window is up.
#include <QApplication>
#include <QStringList>
#include <QTimer>

#include "core/large_allocations.h"
#include "core/row_blocks.h"

#include "app/frm_qelun.h"

int main(int argc, char* argv[]) {
    core::KeepLargeBlocksForReuse();
    core::StartRowThreads();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Zarvik"));
    QApplication::setApplicationName(QStringLiteral("Zarvik"));
    frmQelun window;
    window.Form_Load();
    // Qt has taken its own options (-style and the like) out of the arguments.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const QString file = arguments.at(1);
        QTimer::singleShot(0, &window, [&window, file] { window.OpenPicturePath(file); });
    }
    return QApplication::exec();
}
