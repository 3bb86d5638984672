// Zarvik's desktop program. It takes no command line: any arguments are ignored.
#include <QApplication>

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
    return QApplication::exec();
}
