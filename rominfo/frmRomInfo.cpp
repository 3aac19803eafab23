#include "frmRomInfo.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

#include "Controls.h"
#include "FileMessages.h"
#include "Fonts.h"
#include "HeaderTextValidator.h"
#include "HelpTopics.h"
#include "KanaToRomaji.h"
#include "KnownRomTable.h"
#include "MainWindowState.h"
#include "MsgBox.h"
#include "Paths.h"
#include "RecentRomMenu.h"
#include "SettingsRecord.h"
#include "SettingsStore.h"
#include "VbRomHeader.h"
#include "ZandrelLibrary.h"
#include "frmJapaneseIme.h"

// Resources of a static library are registered by name, outside any namespace.
static void registerRomInfoResources()
{
    Q_INIT_RESOURCE(rominfo);
}

namespace {

constexpr int kClientWidth = 3840;
constexpr int kClientHeight = 3780;
// Without identification the window ends above the "Identify ROM:" frame.
constexpr int kIdentifyFrameTop = 2760;

const QString kNoRomCaption = QStringLiteral("ROM Information - [No ROM Loaded]");
const QString kUnknownRomText = QStringLiteral("[UNKNOWN VB ROM]  -  Please send me a copy.");
const QString kGoodTag = QStringLiteral("[!]");
const QString kHackedTag = QStringLiteral("[h]");

// Maker codes and game IDs are kept in capitals; only a-z change, so every
// character stays one header byte.
QString upperAscii(QString text)
{
    for (QChar &c : text)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return text;
}

// Puts the upper-case form into a text box and the caret back where it was.
void keepUpperCase(QLineEdit *box)
{
    const QString upper = upperAscii(box->text());
    if (upper == box->text())
        return;
    const int caret = box->cursorPosition();
    box->setText(upper);
    box->setCursorPosition(caret);
}

// The window's 32 x 32 picture: a red stereoscopic headset.
QPixmap zaravoPicture()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 0, 0));
    p.drawRoundedRect(QRectF(1, 7, 30, 18), 6, 6);
    p.setBrush(QColor(220, 20, 30));
    p.drawEllipse(QRectF(4, 10, 11, 11));
    p.drawEllipse(QRectF(17, 10, 11, 11));
    p.setBrush(QColor(120, 0, 10));
    p.drawRect(QRectF(13, 14, 6, 3));
    p.setBrush(QColor(255, 140, 140));
    p.drawEllipse(QRectF(6, 12, 3, 3));
    p.drawEllipse(QRectF(19, 12, 3, 3));
    return picture;
}

} // namespace

frmRomInfo::frmRomInfo(QWidget *parent)
    : Form(parent)
{
    registerRomInfoResources();
    setWindowTitle(kNoRomCaption);
    setClientSizeTwips(kClientWidth, kClientHeight);
    createControls();
    createMenus();
}

frmRomInfo::~frmRomInfo() = default;

void frmRomInfo::createControls()
{
    using controls::Place;
    QWidget *c = client();

    fraMbit = Place<QGroupBox>(c, 120, 0, 3615, 525, QStringLiteral("ROM Size:"));
    lblMbit = Place<QLabel>(fraMbit, 120, 240, 3375, 255);

    fraTitle = Place<QGroupBox>(c, 120, 600, 3615, 675, QStringLiteral("ROM Title:"));
    lblTitle = Place<controls::ChangeLabel>(fraTitle, 120, 240, 2535, 315);
    cmdJapaneseIme = Place<QPushButton>(fraTitle, 2760, 240, 735, 315, QStringLiteral("Edit..."));

    fraManufacturer = Place<QGroupBox>(c, 120, 1320, 3615, 675, QStringLiteral("Manufacturer ID:"));
    cmbManufacturer = Place<QComboBox>(fraManufacturer, 120, 240, 2655, 315);
    txtManufacturer = Place<QLineEdit>(fraManufacturer, 2880, 240, 615, 315);
    txtManufacturer->setMaxLength(2);
    m_makerCodeValidator = new HeaderTextValidator(txtManufacturer);
    txtManufacturer->setValidator(m_makerCodeValidator);

    fraVersion = Place<QGroupBox>(c, 120, 2040, 1455, 675, QStringLiteral("Version:"));
    cmbVersion = Place<QComboBox>(fraVersion, 240, 240, 975, 315);

    fraRomId = Place<QGroupBox>(c, 1680, 2040, 1455, 675, QStringLiteral("ROM ID:"));
    txtRomId = Place<QLineEdit>(fraRomId, 240, 240, 975, 315);
    txtRomId->setMaxLength(4);
    m_gameIdValidator = new HeaderTextValidator(txtRomId);
    txtRomId->setValidator(m_gameIdValidator);

    imgZARavo = Place<QLabel>(c, 3240, 2130, 480, 480);
    imgZARavo->setPixmap(zaravoPicture());
    imgZARavo->setAlignment(Qt::AlignCenter);

    fraIdentify = Place<QGroupBox>(c, 120, kIdentifyFrameTop, 3615, 885, QStringLiteral("Identify ROM:"));
    lblIdentify = Place<QLabel>(fraIdentify, 120, 240, 3375, 255);
    cmdRevert = Place<QPushButton>(fraIdentify, 120, 480, 3375, 255, QStringLiteral("Revert ROM info to original settings"));

    lblChecksum = new QLabel(c);
    lblChecksum->setVisible(false);
    lblFilename = new QLabel(c);
    lblFilename->setVisible(false);

    txtHelp = new QPlainTextEdit(c);
    txtHelp->setVisible(false);
    QFile text(QStringLiteral(":/rominfo/RomInfoHelp.txt"));
    if (text.open(QIODevice::ReadOnly))
        txtHelp->setPlainText(QString::fromUtf8(text.readAll()));
    help::RegisterSource(QStringLiteral("ROM Info"), txtHelp);

    // Enter in a header box must not press a button of the window.
    setNoDefaultButton();

    setHeaderControlsEnabled(false);
    fraIdentify->setEnabled(false);
    lblIdentify->setEnabled(false);
    cmdRevert->setEnabled(false);

    connect(cmdJapaneseIme, &QPushButton::clicked, this, &frmRomInfo::cmdJapaneseIme_Click);
    connect(cmdRevert, &QPushButton::clicked, this, &frmRomInfo::cmdRevert_Click);
    connect(cmbManufacturer, &QComboBox::currentIndexChanged, this, &frmRomInfo::cmbManufacturer_Click);
    connect(txtManufacturer, &QLineEdit::textChanged, this, &frmRomInfo::txtManufacturer_Change);
    connect(txtRomId, &QLineEdit::textChanged, this, &frmRomInfo::txtRomId_Change);
    connect(lblTitle, &controls::ChangeLabel::captionChanged, this, &frmRomInfo::lbltitle_Change);
}

void frmRomInfo::createMenus()
{
    using controls::AddMenuItem;
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFileOpen = AddMenuItem(mnuFile, QStringLiteral("&Open ROM..."), QKeySequence(Qt::CTRL | Qt::Key_O),
                              this, &frmRomInfo::mnuFileOpen_Click);
    mnuFileClose = AddMenuItem(mnuFile, QStringLiteral("&Close ROM"), QKeySequence(),
                               this, &frmRomInfo::mnuFileClose_Click);
    mnuFileSep1 = mnuFile->addSeparator();
    mnuFileSave = AddMenuItem(mnuFile, QStringLiteral("&Save ROM"), QKeySequence(Qt::CTRL | Qt::Key_S),
                              this, &frmRomInfo::mnuFileSave_Click);
    mnuFileSaveAs = AddMenuItem(mnuFile, QStringLiteral("Save ROM &As..."), QKeySequence(Qt::CTRL | Qt::Key_A),
                                this, &frmRomInfo::mnuFileSaveAs_Click);
    mnuFileSep2 = mnuFile->addSeparator();
    m_recentMenu = std::make_unique<RecentRomMenu>(mnuFile, [this](int index) { mnuFileRecent_Click(index); });
    mnuFileRecent = m_recentMenu->submenu();
    mnuFileSep3 = m_recentMenu->separator();
    for (int n = 0; n < RecentRomList::kCapacity; ++n)
        mnuFileRecentItems[size_t(n)] = m_recentMenu->item(n);
    mnuFileBack = AddMenuItem(mnuFile, QStringLiteral("&Back to main menu"), QKeySequence(Qt::CTRL | Qt::Key_Q),
                              this, &frmRomInfo::mnuFileBack_Click);

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelpHelp = AddMenuItem(mnuHelp, QStringLiteral("ROM Information &Help..."), QKeySequence(Qt::Key_F1),
                              this, &frmRomInfo::mnuHelpHelp_Click);
    MnuSep1 = mnuHelp->addSeparator();
    mnuHelpCodes = AddMenuItem(mnuHelp, QStringLiteral("ROM &Identification Codes..."),
                               QKeySequence(Qt::SHIFT | Qt::Key_F1), this, &frmRomInfo::mnuHelpCodes_Click);

    mnuFileClose->setEnabled(false);
    mnuFileSave->setEnabled(false);
    mnuFileSaveAs->setEnabled(false);

    RecentRoms.setView([this] { m_recentMenu->redraw(RecentRoms); });
}

void frmRomInfo::Form_Load()
{
    {
        // Filling the lists selects nothing and runs no handler.
        const QSignalBlocker versionQuiet(cmbVersion);
        const QSignalBlocker makerQuiet(cmbManufacturer);
        for (int v = 0; v <= 255; ++v)
            cmbVersion->addItem(QStringLiteral("1.") + QString::number(v));
        for (const MakerCode &maker : MakerCodeTable())
            cmbManufacturer->addItem(maker.name);
        cmbVersion->setCurrentIndex(-1);
        cmbManufacturer->setCurrentIndex(-1);
    }
    GetRegistry();
    if (!AutoDetectRom)
        setClientSizeTwips(kClientWidth, kIdentifyFrameTop);
    lblTitle->setFont(fonts::KatakanaFont(10));
    UpdateRecentMenu();
}

void frmRomInfo::GetRegistry()
{
    BaseDirectory = settings::Get(QStringLiteral("Base Directory"), DefaultFolder());
    AutoDetectRom = settings::GetBoolean(QStringLiteral("Auto Detect ROM"), false);
    RecentRoms.GetRegistry();
}

void frmRomInfo::setHeaderControlsEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{fraMbit, lblMbit, fraTitle, lblTitle, cmdJapaneseIme,
                                                       fraManufacturer, cmbManufacturer, txtManufacturer, fraVersion,
                                                       cmbVersion, fraRomId, txtRomId})
        w->setEnabled(enabled);
}

void frmRomInfo::ClearRomInfo()
{
    setHeaderControlsEnabled(false);
    showFitted(lblMbit, QString());
    lblTitle->setCaption(QString());
    txtManufacturer->clear();
    cmbVersion->setCurrentIndex(-1);
    txtRomId->clear();
    fraIdentify->setEnabled(false);
    lblIdentify->setEnabled(false);
    showFitted(lblIdentify, QString());
    cmdRevert->setEnabled(false);
    setWindowTitle(kNoRomCaption);
    mnuFileClose->setEnabled(false);
    mnuFileSaveAs->setEnabled(false);
    mnuFileSave->setEnabled(false);
}

void frmRomInfo::LoadRomFile(const QString &path)
{
    CheckedImage checked = CheckVbRomImage(path);
    if (checked.result != RomCheck::Ok) {
        RecentRoms.RemoveRecentFile(path);
        ClearRomInfo();
        return;
    }
    RomData = std::move(checked.image);

    setHeaderControlsEnabled(true);
    if (AutoDetectRom) {
        fraIdentify->setEnabled(true);
        lblIdentify->setEnabled(true);
    }

    const VbRomHeader header = *VbRomHeader::read(RomData);
    lblTitle->setCaption(fonts::DecodeTitle(header.title));
    showHeaderText(txtManufacturer, m_makerCodeValidator, header.makerCode);
    showHeaderText(txtRomId, m_gameIdValidator, header.gameId);
    cmbVersion->setCurrentIndex(header.version);
    showFitted(lblMbit, RomSizeText(RomData.size()));
    txtManufacturer->end(false);
    txtRomId->end(false);
    showCaption(titleRomaji());

    mnuFileClose->setEnabled(true);
    mnuFileSave->setEnabled(true);
    mnuFileSaveAs->setEnabled(true);
    lblFilename->setText(path);
    // Paths keep their blanks: a Linux file name may end in one.
    RecentRoms.AddRecentFile(path);
    if (AutoDetectRom)
        Identify();
}

void frmRomInfo::Identify()
{
    showFitted(lblIdentify, QStringLiteral("Identifying ROM..."));
    cmdRevert->setEnabled(false);
    // Paint the label now; user input waits until identification is done,
    // so no command can act on a half-identified image.
    lblIdentify->repaint();
    const forms::BusyCursor busy;

    // Without the library the image counts as not identified.
    const QString checksum = zandrel::GetVbRomChecksum(RomData, false).value_or(QString());
    lblChecksum->setText(checksum);
    const QString title = LookupTitleByChecksum(checksum, false);
    if (FindKnownRom(title)) {
        showFitted(lblIdentify, title);
        cmdRevert->setEnabled(true);
    } else {
        showFitted(lblIdentify, kUnknownRomText);
    }

    // A known image whose header is not the published one: the whole-image
    // checksum names another row, or none.
    const QString wholeChecksum = zandrel::GetVbRomChecksum(RomData, true).value_or(QString());
    if (LookupTitleByChecksum(wholeChecksum, true) != title) {
        QString text = lblIdentify->text();
        if (text.endsWith(kGoodTag))
            text.replace(text.size() - kGoodTag.size(), kGoodTag.size(), kHackedTag);
        else
            text += QLatin1Char(' ') + kHackedTag;
        showFitted(lblIdentify, text);
    }
    showCaption(titleRomaji());
}

void frmRomInfo::showFitted(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setToolTip(text);
    // A verdict or a size can be wider than its frame: the frame's font steps
    // down from the window's until the text shows whole, as windows fit
    // their captions.
    QWidget *frame = label->parentWidget();
    frame->setFont(QFont());
    controls::FitCaptions(frame);
}

QString frmRomInfo::titleRomaji() const
{
    return KanaToRomaji(fonts::EncodeTitle(lblTitle->caption()));
}

void frmRomInfo::showCaption(const QString &romaji)
{
    setWindowTitle(QStringLiteral("ROM Information - [") + romaji + QLatin1Char(']'));
}

QByteArray frmRomInfo::editedImage() const
{
    VbRomHeader header;
    header.title = fonts::EncodeTitle(lblTitle->caption());
    header.makerCode = fonts::EncodeTitle(txtManufacturer->text());
    header.gameId = fonts::EncodeTitle(txtRomId->text());
    header.version = uint8_t(std::max(0, cmbVersion->currentIndex()));
    QByteArray image = RomData;
    header.writeTo(image);
    return image;
}

bool frmRomInfo::writeEditedImage(const QString &path)
{
    const QByteArray image = editedImage();
    if (const auto failure = WriteVbRomImage(path, image)) {
        filemessages::ReportNotSaved(path, *failure);
        return false;
    }
    RomData = image;
    return true;
}

void frmRomInfo::mnuFileOpen_Click()
{
    const QString path = mainwindow::AskFileName(commondialog::Kind::Open, RomFileFilter, BaseDirectory, this);
    if (!path.isEmpty())
        LoadRomFile(path);
}

void frmRomInfo::mnuFileClose_Click()
{
    if (msgbox::MsgBox(QStringLiteral("Are you sure you want to close this ROM?"),
                       msgbox::vbYesNo | msgbox::vbQuestion | msgbox::vbDefaultButton2, QStringLiteral("Close ROM?"))
        == msgbox::vbYes)
        ClearRomInfo();
}

void frmRomInfo::mnuFileSave_Click()
{
    if (msgbox::MsgBox(QStringLiteral("Are you sure you want to save [") + titleRomaji() + QStringLiteral("]?"),
                       msgbox::vbYesNo | msgbox::vbQuestion | msgbox::vbDefaultButton2,
                       QStringLiteral("Save new ROM info?"))
        != msgbox::vbYes)
        return;
    const QString path = lblFilename->text();
    if (!writeEditedImage(path))
        return;
    RecentRoms.AddRecentFile(path);
    showCaption(titleRomaji());
}

void frmRomInfo::mnuFileSaveAs_Click()
{
    const QString path = mainwindow::AskFileName(commondialog::Kind::Save, RomFileFilter, BaseDirectory, this);
    if (path.isEmpty())
        return;
    if (!filemessages::MayReplace(path))
        return;
    // The window moves to the new file only once it is written.
    if (!writeEditedImage(path))
        return;
    lblFilename->setText(path);
    RecentRoms.AddRecentFile(path);
    showCaption(titleRomaji());
}

void frmRomInfo::mnuFileBack_Click()
{
    close();
}

void frmRomInfo::mnuFileRecent_Click(int index)
{
    const QString path = RecentRoms.entry(index);
    if (!paths::Exists(path)) {
        RecentRoms.RemoveRecentFile(path);
        return;
    }
    LoadRomFile(path);
}

void frmRomInfo::UpdateRecentMenu()
{
    RecentRoms.refresh();
}

void frmRomInfo::mnuHelpHelp_Click()
{
    help::ShowTopic(QStringLiteral("ROM Info"));
}

void frmRomInfo::mnuHelpCodes_Click()
{
    help::ShowTopic(QStringLiteral("ROM ID Codes"));
}

void frmRomInfo::cmdJapaneseIme_Click()
{
    frmJapaneseIme editor(*lblTitle, this);
    forms::ShowModal(editor);
}

void frmRomInfo::showHeaderText(QLineEdit *box, HeaderTextValidator *validator, const QByteArray &bytes)
{
    const QString text = fonts::DecodeTitle(bytes);
    validator->setKept(text);
    box->setText(text);
}

void frmRomInfo::cmdRevert_Click()
{
    RestoreKnownHeader(LookupTitleByChecksum(lblChecksum->text(), false));
}

void frmRomInfo::RestoreKnownHeader(const QString &title)
{
    const KnownRom *rom = FindKnownRom(title);
    if (!rom)
        return;
    lblTitle->setCaption(fonts::DecodeTitle(rom->headerTitle));
    txtManufacturer->setText(rom->makerCode);
    cmbVersion->setCurrentIndex(0);
    txtRomId->setText(rom->gameId);
}

void frmRomInfo::cmbManufacturer_Click()
{
    const auto code = MakerCodeFromIndex(cmbManufacturer->currentIndex());
    if (code && txtManufacturer->text() != *code)
        txtManufacturer->setText(*code);
}

void frmRomInfo::txtManufacturer_Change()
{
    keepUpperCase(txtManufacturer);
    cmbManufacturer->setCurrentIndex(MakerIndexFromCode(txtManufacturer->text()));
}

void frmRomInfo::txtRomId_Change()
{
    keepUpperCase(txtRomId);
}

void frmRomInfo::lbltitle_Change()
{
    const QString romaji = titleRomaji();
    lblTitle->setToolTip(romaji);
    showCaption(romaji);
}
