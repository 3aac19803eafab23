#include "FileDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>

#include "Paths.h"

namespace commondialog {
namespace {

constexpr int kIsFolderRole = Qt::UserRole;

enum Column { NameColumn, SizeColumn, TypeColumn };

// What the type column says of an entry: "VB File" as Windows says it.
QString typeOf(const paths::FolderEntry &entry)
{
    if (entry.isFolder)
        return QStringLiteral("File folder");
    const int dot = entry.name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0 || dot == entry.name.size() - 1)
        return QStringLiteral("File");
    return entry.name.mid(dot + 1).toUpper() + QStringLiteral(" File");
}

// The folder listed, on one line: where the path is wider than the room, its
// middle is left out, so that a deep folder never widens the dialog past the
// screen. Its text, what a screen reader reads, and its tip stay whole.
class FolderPathLabel : public QLabel {
public:
    explicit FolderPathLabel(QWidget *parent)
        : QLabel(parent)
    {
        setTextFormat(Qt::PlainText); // a folder name is never markup
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        drawFrame(&painter);
        const QRect room = contentsRect();
        style()->drawItemText(&painter, room, QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                              isEnabled(), fontMetrics().elidedText(text(), Qt::ElideMiddle, room.width()),
                              foregroundRole());
    }
};

} // namespace

bool FileType::matches(const QString &name) const
{
    // A byte that was not UTF-8 is held as a lone surrogate, which a regular
    // expression refuses to look at: it matches as any other character would.
    QString text = name;
    for (QChar &c : text)
        if (c.isSurrogate())
            c = QChar::ReplacementCharacter;
    return std::any_of(patterns.cbegin(), patterns.cend(), [&text](const QString &pattern) {
        // On Windows "*.*" matches every name, with a dot or without.
        if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*"))
            return true;
        const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(pattern),
                                          QRegularExpression::CaseInsensitiveOption);
        return wildcard.match(text).hasMatch();
    });
}

QList<FileType> ParseFilter(const QString &filter)
{
    QList<FileType> types;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2)
        types.append({parts[i], parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)});
    return types;
}

FileDialog::FileDialog(Kind kind, const QString &filter, const QString &folder, const QString &fileName,
                       QWidget *parent)
    : QDialog(parent)
    , m_types(ParseFilter(filter))
{
    setWindowTitle(kind == Kind::Open ? QStringLiteral("Open") : QStringLiteral("Save As"));
    lblFolder = new FolderPathLabel(this);
    cmdUp = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogToParent), QString(), this);
    cmdUp->setToolTip(QStringLiteral("Up One Level"));
    cmdUp->setAccessibleName(QStringLiteral("Up One Level"));
    cmdUp->setAutoDefault(false);

    lstFiles = new QTreeWidget(this);
    lstFiles->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Type")});
    lstFiles->setRootIsDecorated(false);
    lstFiles->setUniformRowHeights(true);
    // The name takes the room; size and type always show whole.
    lstFiles->header()->setStretchLastSection(false);
    lstFiles->header()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    lstFiles->header()->setSectionResizeMode(SizeColumn, QHeaderView::ResizeToContents);
    lstFiles->header()->setSectionResizeMode(TypeColumn, QHeaderView::ResizeToContents);
    lstFiles->installEventFilter(this);

    auto *nameLabel = new QLabel(QStringLiteral("File &name:"), this);
    txtFileName = new QLineEdit(paths::FileNameOf(fileName), this);
    nameLabel->setBuddy(txtFileName);
    auto *typeLabel = new QLabel(kind == Kind::Open ? QStringLiteral("Files of &type:") : QStringLiteral("Save as &type:"),
                                 this);
    cmbFileType = new QComboBox(this);
    for (const FileType &type : std::as_const(m_types))
        cmbFileType->addItem(type.label);
    typeLabel->setBuddy(cmbFileType);

    cmdAccept = new QPushButton(kind == Kind::Open ? QStringLiteral("&Open") : QStringLiteral("&Save"), this);
    cmdAccept->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Look in:"), this), 0, 0);
    grid->addWidget(lblFolder, 0, 1);
    grid->addWidget(cmdUp, 0, 2, Qt::AlignRight);
    grid->addWidget(lstFiles, 1, 0, 1, 3);
    grid->addWidget(nameLabel, 2, 0);
    grid->addWidget(txtFileName, 2, 1);
    grid->addWidget(cmdAccept, 2, 2);
    grid->addWidget(typeLabel, 3, 0);
    grid->addWidget(cmbFileType, 3, 1);
    grid->addWidget(cmdCancel, 3, 2);
    grid->setColumnStretch(1, 1);
    resize(560, 380);

    connect(cmdUp, &QPushButton::clicked, this, &FileDialog::openParent);
    connect(cmdAccept, &QPushButton::clicked, this, &FileDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &FileDialog::reject);
    connect(cmbFileType, &QComboBox::currentIndexChanged, this, &FileDialog::showChosenType);
    // Picking the type shown already also drops a typed pattern.
    connect(cmbFileType, &QComboBox::activated, this, &FileDialog::showChosenType);
    connect(lstFiles, &QTreeWidget::itemDoubleClicked, this, &FileDialog::enter);
    connect(lstFiles, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item && !item->data(NameColumn, kIsFolderRole).toBool())
            txtFileName->setText(item->text(NameColumn));
    });

    const QString start = fileName.startsWith(QLatin1Char('/')) ? paths::FolderOf(fileName) : folder;
    openFolder(paths::IsFolder(start) ? start : paths::HomeFolder());
    txtFileName->setFocus();
}

void FileDialog::openFolder(const QString &folder)
{
    m_folder = paths::AbsolutePath(folder);
    lblFolder->setText(m_folder);
    lblFolder->setToolTip(m_folder);
    cmdUp->setEnabled(m_folder != QLatin1String("/"));
    fill();
}

void FileDialog::openParent()
{
    openFolder(paths::FolderOf(m_folder));
}

void FileDialog::showChosenType()
{
    m_typedPattern.reset();
    fill();
}

void FileDialog::fill()
{
    lstFiles->clear();
    const int typeIndex = cmbFileType->currentIndex();
    const FileType *type = m_typedPattern ? &*m_typedPattern : typeIndex >= 0 ? &m_types[typeIndex] : nullptr;
    QList<paths::FolderEntry> entries = paths::ListFolder(m_folder);
    // Folders first, then the files of the type; hidden names stay out.
    entries.removeIf([&](const paths::FolderEntry &entry) {
        return entry.name.startsWith(QLatin1Char('.')) || (!entry.isFolder && type && !type->matches(entry.name));
    });
    std::sort(entries.begin(), entries.end(), [](const paths::FolderEntry &a, const paths::FolderEntry &b) {
        if (a.isFolder != b.isFolder)
            return a.isFolder;
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon fileIcon = style()->standardIcon(QStyle::SP_FileIcon);
    const QLocale locale;
    for (const paths::FolderEntry &entry : std::as_const(entries)) {
        auto *item = new QTreeWidgetItem(lstFiles, {entry.name,
                                                    entry.isFolder ? QString() : locale.formattedDataSize(entry.size),
                                                    typeOf(entry)});
        item->setIcon(NameColumn, entry.isFolder ? folderIcon : fileIcon);
        item->setData(NameColumn, kIsFolderRole, entry.isFolder);
        item->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
    }
}

void FileDialog::enter(QTreeWidgetItem *item)
{
    if (!item)
        return;
    if (item->data(NameColumn, kIsFolderRole).toBool()) {
        openFolder(paths::AppendFileToDir(m_folder, item->text(NameColumn)));
        return;
    }
    txtFileName->setText(item->text(NameColumn));
    accept();
}

void FileDialog::accept()
{
    const QString typed = txtFileName->text();
    if (typed.isEmpty())
        return;
    const QString path = typed.startsWith(QLatin1Char('/')) ? typed : paths::AppendFileToDir(m_folder, typed);
    // A folder's name opens the folder, as in any file dialog.
    if (paths::IsFolder(path)) {
        txtFileName->clear();
        openFolder(path);
        return;
    }
    if (applyTypedPattern(path))
        return;
    // Any other name is handed back: the windows answer a name that does not
    // exist with their own message, and ask before replacing a file.
    m_chosen = path;
    QDialog::accept();
}

// A name with "*" or "?" ("*.txt", "roms/*.vb;*.bin") that names no file of
// its folder is a pattern: the folder opens listing the files it matches, the
// pattern stays typed, and nothing is chosen. False for any other name.
bool FileDialog::applyTypedPattern(const QString &path)
{
    const QString folder = paths::FolderOf(path);
    const QString name = paths::FileNameOf(path);
    const bool wildcard = name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
    if (!wildcard || !paths::IsFolder(folder))
        return false;
    const QList<paths::FolderEntry> entries = paths::ListFolder(folder);
    if (std::any_of(entries.cbegin(), entries.cend(),
                    [&name](const paths::FolderEntry &entry) { return !entry.isFolder && entry.name == name; }))
        return false;
    m_typedPattern = FileType{name, name.split(QLatin1Char(';'), Qt::SkipEmptyParts)};
    openFolder(folder);
    return true;
}

bool FileDialog::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the list enters the highlighted entry, and nothing else;
    // Backspace opens the folder above.
    if (watched == lstFiles && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            enter(lstFiles->currentItem());
            return true;
        }
        if (key == Qt::Key_Backspace) {
            openParent();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace commondialog
