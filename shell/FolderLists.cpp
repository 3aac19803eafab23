#include "FolderLists.h"

#include <QHash>
#include <QKeyEvent>
#include <QStorageInfo>
#include <QStyle>

#include <algorithm>
#include <variant>

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "GuardedFile.h"
#include "Paths.h"

namespace {

constexpr int kPathRole = Qt::UserRole;

// A field of the kernel's mount table, its "\ooo" escapes (of a blank, a tab,
// a line end, a backslash) turned back into their bytes.
QByteArray unescaped(const QByteArray &field)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const auto isOctal = [&](qsizetype at) { return at < field.size() && field[at] >= '0' && field[at] <= '7'; };
        if (field[i] == '\\' && isOctal(i + 1) && isOctal(i + 2) && isOctal(i + 3)) {
            bytes += char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            bytes += field[i];
        }
    }
    return bytes;
}

// The mount points whose names are not UTF-8, by their real bytes: Qt's list
// of volumes can't hold such a name and leaves them out. The system's own
// file systems (below /dev, /proc and /sys) and those that hold no room are
// no drives.
QStringList mountPointsQtLeavesOut()
{
    QStringList points;
    const auto table = guardedfile::ReadWhole(QStringLiteral("/proc/self/mountinfo"), 16 << 20, QString());
    const auto *text = std::get_if<QByteArray>(&table);
    if (!text)
        return points;
    for (const QByteArray &line : text->split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() <= 4)
            continue;
        const QByteArray point = unescaped(fields[4]);
        const QString root = paths::DecodeFileName(point);
        struct statvfs room;
        if (root.toUtf8() == point || root.startsWith(QLatin1String("/dev/")) || root.startsWith(QLatin1String("/proc/"))
            || root.startsWith(QLatin1String("/sys/")) || ::statvfs(point.constData(), &room) != 0 || room.f_blocks == 0)
            continue;
        points << root;
    }
    return points;
}

bool contains(const QString &root, const QString &folder)
{
    return root == QLatin1String("/") || folder == root || folder.startsWith(root + QLatin1Char('/'));
}

// A mount point the user may open and list.
bool isOpenToUser(const QString &root)
{
    return ::faccessat(AT_FDCWD, paths::EncodeFileName(root).constData(), R_OK | X_OK, AT_EACCESS) == 0;
}

} // namespace

DriveList::DriveList(QWidget *parent)
    : QComboBox(parent)
{
    QStringList roots{QStringLiteral("/")};
    QHash<QString, QString> names;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || !volume.isReady() || !isOpenToUser(root) || roots.contains(root))
            continue;
        roots << root;
        names.insert(root, volume.displayName());
    }
    for (const QString &root : mountPointsQtLeavesOut())
        if (isOpenToUser(root) && !roots.contains(root))
            roots << root;
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
    const QString path = paths::AbsolutePath(folder);
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
    const QString path = paths::AbsolutePath(folder);
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
