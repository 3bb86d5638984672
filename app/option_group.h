#pragma once
// An option group of menu entries: checkable actions of which at most one carries
// the check mark, the setting being the checked entry's index. Not a
// QActionGroup, because a stored index outside the group must leave none checked.
#include <QAction>
#include <array>
#include <cstddef>

template <std::size_t N>
void CheckOnly(const std::array<QAction*, N>& group, int index) {
    for (std::size_t i = 0; i < N; ++i) group[i]->setChecked(static_cast<int>(i) == index);
}

// The index of the checked entry, or -1 when none is.
template <std::size_t N>
int CheckedIndex(const std::array<QAction*, N>& group) {
    for (std::size_t i = 0; i < N; ++i)
        if (group[i]->isChecked()) return static_cast<int>(i);
    return -1;
}
