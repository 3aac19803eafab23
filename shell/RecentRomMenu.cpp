#include "RecentRomMenu.h"

#include <QAction>
#include <QMenu>

#include "RecentRomList.h"

RecentRomMenu::RecentRomMenu(QMenu *fileMenu, std::function<void(int)> itemChosen)
    : m_submenu(fileMenu->addMenu(QStringLiteral("&Recent Files")))
    , m_separator(fileMenu->addSeparator())
{
    for (int n = 0; n < RecentRomList::kCapacity; ++n) {
        QAction *item = m_submenu->addAction(QString());
        QObject::connect(item, &QAction::triggered, item, [itemChosen, n] { itemChosen(n); });
        m_items[size_t(n)] = item;
    }
}

void RecentRomMenu::redraw(const RecentRomList &list)
{
    for (int n = 0; n < RecentRomList::kCapacity; ++n) {
        QAction *item = m_items[size_t(n)];
        // Keeps "&" in a path from becoming an access key.
        QString path = list.entry(n);
        item->setText(QStringLiteral("&%1 ").arg(n) + path.replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setVisible(n == 0 || (n < list.count() && !list.entry(n).isEmpty()));
    }
    const bool offered = list.count() > 0 && !list.entry(0).isEmpty();
    m_submenu->menuAction()->setVisible(offered);
    m_separator->setVisible(offered);
}
