#include "frmLoadPal.h"

#include <QPushButton>

#include "Controls.h"
#include "FileMessages.h"
#include "MainWindowState.h"
#include "MsgBox.h"
#include "PaletteFile.h"
#include "SettingsRecord.h"
#include "SettingsStore.h"

namespace {

constexpr int kButtonLeft = 120;
constexpr int kButtonWidth = 2415;
constexpr int kButtonHeight = 375;
constexpr int kButtonPitch = 480;

} // namespace

frmLoadPal::frmLoadPal(const PaletteBoxes &boxes, QWidget *parent)
    : Form(parent)
    , m_boxes(boxes)
{
    using controls::Place;
    setWindowTitle(QStringLiteral("Load Palette..."));
    setClientSizeTwips(kButtonLeft * 2 + kButtonWidth, 120 + 3 * kButtonPitch + kButtonHeight + 120);
    QWidget *c = client();
    cmdLoadCustom = Place<QPushButton>(c, kButtonLeft, 120, kButtonWidth, kButtonHeight,
                                       QStringLiteral("Load custom palette"));
    cmdRevertRed = Place<QPushButton>(c, kButtonLeft, 120 + kButtonPitch, kButtonWidth, kButtonHeight,
                                      QStringLiteral("Revert to VB palette"));
    cmdRevertGrey = Place<QPushButton>(c, kButtonLeft, 120 + 2 * kButtonPitch, kButtonWidth, kButtonHeight,
                                       QStringLiteral("Revert to grayscale"));
    cmdLoadCancel = Place<QPushButton>(c, kButtonLeft, 120 + 3 * kButtonPitch, kButtonWidth, kButtonHeight,
                                       QStringLiteral("Cancel"));
    setCancelButton(cmdLoadCancel);
    setNoDefaultButton();

    connect(cmdLoadCustom, &QPushButton::clicked, this, &frmLoadPal::cmdLoadCustom_Click);
    connect(cmdRevertRed, &QPushButton::clicked, this, &frmLoadPal::cmdRevertRed_Click);
    connect(cmdRevertGrey, &QPushButton::clicked, this, &frmLoadPal::cmdRevertGrey_Click);
    connect(cmdLoadCancel, &QPushButton::clicked, this, &frmLoadPal::cmdLoadCancel_Click);

    controls::FitCaptions(this);
}

void frmLoadPal::Form_Load()
{
    GetRegistry();
}

void frmLoadPal::GetRegistry()
{
    BaseDirectory = settings::Get(QStringLiteral("Base Directory"), DefaultFolder());
}

void frmLoadPal::fillBoxes(const tilepalette::Values &values)
{
    for (size_t i = 0; i < m_boxes.size(); ++i)
        m_boxes[i]->setText(QString::number(values[i]));
}

void frmLoadPal::cmdLoadCustom_Click()
{
    const QString path = mainwindow::AskFileName(commondialog::Kind::Open, palettefile::kFilter, BaseDirectory, this);
    if (!path.isEmpty())
        LoadPaletteFile(path);
    // A palette that loaded has closed the loader already.
    if (!isUnloaded())
        close();
}

void frmLoadPal::LoadPaletteFile(const QString &path)
{
    const palettefile::ReadPalette palette = palettefile::Read(path);
    switch (palette.result) {
    case palettefile::PaletteCheck::Missing:
        msgbox::MsgBox(QStringLiteral("File does not exist."), msgbox::vbExclamation, QStringLiteral("Invalid filename"));
        return;
    case palettefile::PaletteCheck::NotPalette:
        msgbox::MsgBox(QStringLiteral("File is not a Zandrel palette file."), msgbox::vbExclamation,
                       QStringLiteral("Invalid Zandrel palette"));
        return;
    case palettefile::PaletteCheck::Unreadable:
        filemessages::ReportNotRead(path, palette.reason);
        return;
    case palettefile::PaletteCheck::Ok:
        break;
    }
    fillBoxes(palette.values);
    close();
}

void frmLoadPal::cmdRevertRed_Click()
{
    fillBoxes(tilepalette::kVbPalette);
    close();
}

void frmLoadPal::cmdRevertGrey_Click()
{
    fillBoxes(tilepalette::kGreyPalette);
    close();
}

void frmLoadPal::cmdLoadCancel_Click()
{
    close();
}
