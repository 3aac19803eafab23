#include "Choices.h"

#include <QComboBox>
#include <QListWidget>

namespace choices {

void Choose(QComboBox *combo, int index)
{
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

void Choose(QListWidget *list, int row)
{
    if (row >= 0 && row < list->count()) {
        list->setCurrentRow(row);
    } else {
        list->clearSelection();
        list->setCurrentRow(-1);
    }
}

} // namespace choices
