#pragma once
// The building blocks of every menu: each menu and entry carries its name as its
// object name, as the tests and the old menu editor know them.
#include <QAction>
#include <QString>
#include <array>
#include <cstddef>
#include <initializer_list>

class QMenu;
class QMenuBar;

QMenu* AddMenu(QMenuBar& bar, const char* name, const char* caption);
QMenu* AddSubmenu(QMenu& parent, const char* name, const char* caption);
QAction* AddEntry(QMenu& menu, const char* name, const QString& caption, bool checkable = false);
QAction* AddSeparator(QMenu& menu, const char* name);

// An option group: checkable entries named `name` followed by their index.
template <std::size_t N>
std::array<QAction*, N> AddGroup(QMenu& menu, const char* name,
                                 std::initializer_list<const char*> captions) {
    std::array<QAction*, N> group{};
    std::size_t i = 0;
    for (const char* caption : captions) {
        group[i] = AddEntry(menu, name, QString::fromUtf8(caption), true);
        group[i]->setObjectName(QString::fromUtf8(name) + QString::number(i));
        ++i;
    }
    return group;
}
