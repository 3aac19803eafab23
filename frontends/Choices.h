#pragma once
// Setting and reading a front-end's choices from code: which of an array of
// option buttons is chosen, and the chosen entry of a combo box or a list.
// An array is indexed as the window numbers it: a std::array from 0, a
// QMap by its keys (Virtual-E numbers its buttons from 1).

#include <QMap>
#include <QRadioButton>

#include <array>
#include <cstddef>

class QComboBox;
class QListWidget;

namespace choices {

namespace detail {

template <size_t N, typename Visit>
void forEachButton(const std::array<QRadioButton *, N> &buttons, Visit visit)
{
    for (size_t i = 0; i < N; ++i)
        visit(int(i), buttons[i]);
}

template <typename Visit>
void forEachButton(const QMap<int, QRadioButton *> &buttons, Visit visit)
{
    for (auto it = buttons.cbegin(); it != buttons.cend(); ++it)
        visit(it.key(), it.value());
}

} // namespace detail

// The index of the first chosen button, or `none` when none is chosen.
template <typename Buttons>
int ChosenIndex(const Buttons &buttons, int none)
{
    int chosen = none;
    bool found = false;
    detail::forEachButton(buttons, [&](int index, const QRadioButton *button) {
        if (!found && button->isChecked()) {
            chosen = index;
            found = true;
        }
    });
    return chosen;
}

// Chooses the button of that index; an index without a button leaves the
// choice as it is.
template <typename Buttons>
void Choose(const Buttons &buttons, int index)
{
    detail::forEachButton(buttons, [&](int at, QRadioButton *button) {
        if (at == index)
            button->setChecked(true);
    });
}

// Selects an entry, or none for a position outside the list.
void Choose(QComboBox *combo, int index);
void Choose(QListWidget *list, int row);

} // namespace choices
