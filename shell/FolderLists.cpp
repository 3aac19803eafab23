#include "FolderLists.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStorageInfo>
#include <QStyle>

#include <algorithm>

#include "Paths.h"

namespace {

constexpr int kPathRole = Qt::UserRole;

QString normalFolder(const QString &folder)
{
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

bool contains(const QString &root, const QString &folder)
{
    return root == QLatin1String("/") || folder == root || folder.startsWith(root + QLatin1Char('/'));
}

// A mount point worth offering: mounted, ready and open to the user.
bool isUsableDrive(const QStorageInfo &volume)
{
    const QFileInfo root(volume.rootPath());
    return volume.isValid() && volume.isReady() && root.isReadable() && root.isExecutable();
}

} // namespace

DriveList::DriveList(QWidget *parent)
    : QComboBox(parent)
{
    QStringList roots{QStringLiteral("/")};
    QHash<QString, QString> names;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!isUsableDrive(volume) || roots.contains(volume.rootPath()))
            continue;
        roots << volume.rootPath();
        names.insert(volume.rootPath(), volume.displayName());
    }
    std::sort(roots.begin() + 1, roots.end());
    for (const QString &root : std::as_const(roots)) {
        const QString name = names.value(root);
        const QString text = name.isEmpty() || name == root ? root : QStringLiteral("%1 [%2]").arg(root, name);
        addItem(text, root);
    }
}

QString DriveList::drive() const
{
    return currentData().toString();
}

void DriveList::setDriveOf(const QString &folder)
{
    const QString path = normalFolder(folder);
    int best = 0;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i).toString();
        if (contains(root, path) && root.size() > itemData(best).toString().size())
            best = i;
    }
    setCurrentIndex(best);
}

DirectoryList::DirectoryList(QWidget *parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(12);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { setPath(item->data(0, kPathRole).toString()); });
}

void DirectoryList::keyPressEvent(QKeyEvent *event)
{
    QTreeWidget::keyPressEvent(event);
    // Enter has opened the highlighted folder (itemActivated); it must not go
    // on to the window and press a button there.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        event->accept();
}

void DirectoryList::setPath(const QString &folder)
{
    const QString path = normalFolder(folder);
    if (!paths::IsFolder(path)) {
        fill(); // it went away since it was listed: show what is there now
        return;
    }
    if (path == m_path)
        return;
    m_path = path;
    fill();
    emit pathChanged();
}

void DirectoryList::fill()
{
    clear();
    if (m_path.isEmpty())
        return;
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The open folder's chain from the root, each under its parent.
    QTreeWidgetItem *parent = new QTreeWidgetItem(this, {QStringLiteral("/")});
    parent->setData(0, kPathRole, QStringLiteral("/"));
    parent->setIcon(0, openIcon);
    QString chain;
    for (const QString &part : m_path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        chain += QLatin1Char('/') + part;
        auto *item = new QTreeWidgetItem(parent, {part});
        item->setData(0, kPathRole, chain);
        item->setIcon(0, openIcon);
        parent = item;
    }
    QTreeWidgetItem *open = parent;

    // Its subfolders, hidden ones last: they are listed because a folder can
    // only be chosen here, never typed (programs run through wine live below ~/.wine).
    QList<paths::FolderEntry> subfolders = paths::ListFolder(m_path);
    subfolders.removeIf([](const paths::FolderEntry &entry) { return !entry.isFolder; });
    std::sort(subfolders.begin(), subfolders.end(), [](const paths::FolderEntry &a, const paths::FolderEntry &b) {
        const bool aHidden = a.name.startsWith(QLatin1Char('.'));
        const bool bHidden = b.name.startsWith(QLatin1Char('.'));
        if (aHidden != bHidden)
            return bHidden;
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    for (const paths::FolderEntry &sub : std::as_const(subfolders)) {
        auto *item = new QTreeWidgetItem(open, {sub.name});
        item->setData(0, kPathRole, paths::AppendFileToDir(m_path, sub.name));
        item->setIcon(0, closedIcon);
    }
    expandAll();
    setCurrentItem(open);
    scrollToItem(open, QAbstractItemView::PositionAtTop);
}
