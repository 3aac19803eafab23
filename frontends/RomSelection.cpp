#include "RomSelection.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "MainWindowState.h"
#include "MsgBox.h"
#include "Process.h"
#include "SettingsRecord.h"
#include "SettingsStore.h"
#include "VbRomHeader.h"

const QString RomSelection::kPlaceholder = QStringLiteral("Please select a file name...");

RomSelection::RomSelection(QComboBox *cmbFilename, QLabel *lblFilename, QPushButton *cmdOpen, Options options,
                           std::function<void(bool)> enableRun, QObject *parent)
    : QObject(parent)
    , m_combo(cmbFilename)
    , m_label(lblFilename)
    , m_open(cmdOpen)
    , m_options(options)
    , m_enableRun(std::move(enableRun))
{
    m_label->setTextFormat(Qt::PlainText);
    m_label->setVisible(false);
    RecentRoms.setView([this] { FillRecentCombo(); });
    connect(m_combo, &QComboBox::currentIndexChanged, this, &RomSelection::cmbFilename_Click);
    connect(m_open, &QPushButton::clicked, this, &RomSelection::cmdOpen_Click);
}

void RomSelection::GetRegistry()
{
    BaseDirectory = settings::Get(QStringLiteral("Base Directory"), DefaultFolder());
    RecentRoms.GetRegistry();
}

void RomSelection::SetUp()
{
    ComboRefilled = false;
    if (!listMode()) {
        m_combo->setVisible(false);
        m_label->setVisible(true);
        m_label->setText(kPlaceholder);
        return;
    }
    RecentRoms.refresh(); // empties the entries behind the count, saves, refills
    ComboRefilled = false;
    selectRow(0);
    cmbFilename_Click();
}

QString RomSelection::chosenRom() const
{
    if (!listMode())
        return m_label->text() == kPlaceholder ? QString() : m_label->text();
    const int row = m_combo->currentIndex();
    return row > 0 ? m_combo->itemData(row).toString() : QString();
}

std::optional<QString> RomSelection::romToRun() const
{
    const QString rom = chosenRom();
    if (rom.isEmpty())
        return QString();
    const QString romPath = process::GetShortPath(rom);
    if (romPath.isEmpty()) {
        msgbox::MsgBox(QStringLiteral("File does not exist."), msgbox::vbExclamation, QStringLiteral("Invalid filename"));
        return std::nullopt;
    }
    return romPath;
}

void RomSelection::FillRecentCombo()
{
    ComboRefilled = false;
    {
        // A refill selects nothing, and so handles nothing.
        const QSignalBlocker quiet(m_combo);
        m_combo->clear();
        m_combo->addItem(kPlaceholder, QString());
        for (int i = 0; i < RecentRoms.count(); ++i)
            if (!RecentRoms.entry(i).isEmpty())
                m_combo->addItem(RecentRoms.entry(i), RecentRoms.entry(i));
        m_combo->setCurrentIndex(-1);
    }
    ComboRefilled = true;
}

bool RomSelection::ValidateRomFile(const QString &path)
{
    if (CheckVbRomImage(path).result == RomCheck::Ok) {
        if (listMode()) {
            RecentRoms.AddRecentFile(path);
            selectRow(rowOf(path));
        } else {
            m_label->setText(path);
        }
        m_enableRun(true);
        return true;
    }
    if (listMode()) {
        RecentRoms.RemoveRecentFile(path);
        selectRow(0);
        if (!m_options.runsWithoutRom)
            m_enableRun(false);
        // The list takes the user's next pick again.
        followRowInToolTip();
        ComboRefilled = false;
    } else {
        m_label->setText(kPlaceholder);
        m_enableRun(false);
    }
    return false;
}

void RomSelection::cmbFilename_Click()
{
    if (ComboRefilled)
        return;
    const int row = m_combo->currentIndex();
    if (row == 0 && !m_options.runsWithoutRom)
        m_enableRun(false);
    if (row > 0) {
        // The row carries its own path, so rows and list entries can't drift
        // apart. A missing file fails the check like any other.
        ValidateRomFile(m_combo->itemData(row).toString());
        mainwindow::dlgZandrel().FileName.clear();
    }
    followRowInToolTip();
    ComboRefilled = false;
}

void RomSelection::cmdOpen_Click()
{
    const QString path =
        mainwindow::AskFileName(commondialog::Kind::Open, RomFileFilter, BaseDirectory, m_open->window());
    if (!path.isEmpty() && ValidateRomFile(path) && listMode()) {
        // The new top row is then handled as the user's pick of it.
        selectRow(rowOf(path));
        ComboRefilled = false;
        cmbFilename_Click();
    }
    mainwindow::dlgZandrel().FileName.clear();
}

void RomSelection::selectRow(int row)
{
    m_combo->setCurrentIndex(row);
}

int RomSelection::rowOf(const QString &path) const
{
    for (int row = 1; row < m_combo->count(); ++row)
        if (m_combo->itemData(row).toString() == path)
            return row;
    return -1;
}

void RomSelection::followRowInToolTip()
{
    if (m_options.toolTipFollowsRow)
        m_combo->setToolTip(m_combo->currentText());
}
