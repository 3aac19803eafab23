#include "FolderLists.h"

#include <QFile>
#include <QHash>
#include <QKeyEvent>
#include <QStorageInfo>
#include <QStyle>

#include <algorithm>
#include <variant>

#include <fcntl.h>
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

// Every mount point by its real bytes, found by the name Qt's list of volumes
// gives it (Qt spells a stray byte of a name as U+FFFD, and so names a folder
// that is not there).
QHash<QString, QString> mountPointsBySpelling()
{
    QHash<QString, QString> points;
    const auto table = guardedfile::ReadWhole(QStringLiteral("/proc/self/mountinfo"), 16 << 20, QString());
    if (const auto *text = std::get_if<QByteArray>(&table)) {
        for (const QByteArray &line : text->split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() > 4) {
                const QByteArray point = unescaped(fields[4]);
                points.insert(QFile::decodeName(point), paths::DecodeFileName(point));
            }
        }
    }
    return points;
}

bool contains(const QString &root, const QString &folder)
{
    return root == QLatin1String("/") || folder == root || folder.startsWith(root + QLatin1Char('/'));
}

// A mount point worth offering: mounted, ready and open to the user.
bool isUsableDrive(const QStorageInfo &volume, const QString &root)
{
    return volume.isValid() && volume.isReady()
        && ::faccessat(AT_FDCWD, paths::EncodeFileName(root).constData(), R_OK | X_OK, AT_EACCESS) == 0;
}

} // namespace

DriveList::DriveList(QWidget *parent)
    : QComboBox(parent)
{
    QStringList roots{QStringLiteral("/")};
    QHash<QString, QString> names;
    const QHash<QString, QString> byBytes = mountPointsBySpelling();
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = byBytes.value(volume.rootPath(), volume.rootPath());
        if (!isUsableDrive(volume, root) || roots.contains(root))
            continue;
        roots << root;
        // A volume without a label is named by its root, as Qt spells it.
        if (volume.displayName() != volume.rootPath())
            names.insert(root, volume.displayName());
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
