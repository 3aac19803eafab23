#include "frmControlConfig.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

#include "ControllerPicture.h"
#include "Controls.h"
#include "ImageControl.h"
#include "KeyNames.h"
#include "MainWindowState.h"
#include "MsgBox.h"
#include "RevertQuestions.h"
#include "VbText.h"
#include "VirtualERegistry.h"
#include "frmKeyCapture.h"

using controllerpicture::ControllerInput;
using controllerkeys::Slot;
using msgbox::MsgBox;

namespace {

const QString kRealityBoy = QStringLiteral("Reality Boy");
const QString kVirtualE = QStringLiteral("Virtual-E");
const QString kRedDragon = QStringLiteral("Red Dragon");

using msgbox::CR;

// The dialog was laid out in pixels; a form places controls in twips.
template <typename Control, typename... Args>
Control *placePx(QWidget *parent, int x, int y, int width, int height, Args &&...args)
{
    using forms::Twips;
    return controls::Place<Control>(parent, Twips(x), Twips(y), Twips(width), Twips(height),
                                     std::forward<Args>(args)...);
}

constexpr int kClientWidth = 272;
constexpr int kDesignClientHeight = 289;
// Client heights of the modes: Reality Boy's ends below its OK button, the
// editing modes' just below the key buttons and their lower row.
constexpr int kRealityBoyClientHeight = 265;
constexpr int kEditingClientHeight = 146;
constexpr int kLowerRowTop = 272;
constexpr int kEditingLowerRowTop = 129;

constexpr int kLeftColumn = 5;
constexpr int kRightColumn = 202;
constexpr int kKeyWidth = 65;
constexpr int kKeyHeight = 17;
constexpr int rowTop(int row) { return 4 + 17 * row; }

// One key button: its member and Click handler, the slot it sets, its tip,
// its place (column and row) and the controller input its leader line meets.
struct KeyButton {
    QPushButton *frmControlConfig::*button;
    void (frmControlConfig::*handler)();
    Slot slot;
    const char *toolTip;
    bool rightColumn;
    int row;
    ControllerInput input;
};

// Left column top to bottom, then the right one: the keyboard focus order.
// The right pad's column lists Right above Down, the mirror of the left one.
const KeyButton kKeyButtons[] = {
    {&frmControlConfig::cmdLButton, &frmControlConfig::cmdLButton_Click, Slot::LTrigger, "L Trigger", false, 0,
     ControllerInput::L},
    {&frmControlConfig::cmdLtUp, &frmControlConfig::cmdLtUp_Click, Slot::LeftPadUp, "Up (Left D-Pad)", false, 1,
     ControllerInput::LeftPadUp},
    {&frmControlConfig::cmdLtLt, &frmControlConfig::cmdLtLt_Click, Slot::LeftPadLeft, "Left (Left D-Pad)", false, 2,
     ControllerInput::LeftPadLeft},
    {&frmControlConfig::cmdLtDn, &frmControlConfig::cmdLtDn_Click, Slot::LeftPadDown, "Down (Left D-Pad)", false, 3,
     ControllerInput::LeftPadDown},
    {&frmControlConfig::cmdLtRt, &frmControlConfig::cmdLtRt_Click, Slot::LeftPadRight, "Right (Left D-Pad)", false,
     4, ControllerInput::LeftPadRight},
    {&frmControlConfig::cmdSelect, &frmControlConfig::cmdSelect_Click, Slot::Select, "Select Button", false, 5,
     ControllerInput::Select},
    {&frmControlConfig::cmdStart, &frmControlConfig::cmdStart_Click, Slot::Start, "Start Button", false, 6,
     ControllerInput::Start},
    {&frmControlConfig::cmdRButton, &frmControlConfig::cmdRButton_Click, Slot::RTrigger, "R Trigger", true, 0,
     ControllerInput::R},
    {&frmControlConfig::cmdRtUp, &frmControlConfig::cmdRtUp_Click, Slot::RightPadUp, "Up (Right D-Pad)", true, 1,
     ControllerInput::RightPadUp},
    {&frmControlConfig::cmdRtRt, &frmControlConfig::cmdRtRt_Click, Slot::RightPadRight, "Right (Right D-Pad)", true,
     2, ControllerInput::RightPadRight},
    {&frmControlConfig::cmdRtDn, &frmControlConfig::cmdRtDn_Click, Slot::RightPadDown, "Down (Right D-Pad)", true, 3,
     ControllerInput::RightPadDown},
    {&frmControlConfig::cmdRtLt, &frmControlConfig::cmdRtLt_Click, Slot::RightPadLeft, "Left (Right D-Pad)", true, 4,
     ControllerInput::RightPadLeft},
    {&frmControlConfig::cmdAButton, &frmControlConfig::cmdAButton_Click, Slot::AButton, "A Button", true, 5,
     ControllerInput::A},
    {&frmControlConfig::cmdBButton, &frmControlConfig::cmdBButton_Click, Slot::BButton, "B Button", true, 6,
     ControllerInput::B},
};

// The controller between the two columns of key buttons, with a red leader
// line from each button's row to its input. Drawn in client pixels and
// shown stretched over the top 272 x 128 of the dialog.
controls::Picture controllerWithLeaders()
{
    return controls::Picture(QStringLiteral("keys.controller"), QSize(268, 124), [](QPainter &p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(268.0 / kClientWidth, 124.0 / 128);
        const QPointF origin((kLeftColumn + kKeyWidth + kRightColumn) / 2.0 - 64, 2);
        p.translate(origin);
        controllerpicture::drawController(p, false);
        p.translate(-origin);

        p.setPen(QPen(QColor(0xd0, 0x18, 0x18), 1));
        for (const KeyButton &b : kKeyButtons) {
            const qreal y = rowTop(b.row) + kKeyHeight / 2.0;
            const qreal edge = b.rightColumn ? kRightColumn : kLeftColumn + kKeyWidth;
            const QPointF input = origin + controllerpicture::inputPoint(b.input);
            const QPointF elbow(b.rightColumn ? edge - 4 : edge + 4, y);
            p.drawLine(QPointF(edge, y), elbow);
            p.drawLine(elbow, input);
        }
    });
}

struct KeySide {
    const char *generic; // the name a capture gives
    const char *word;
    keynames::SidedKey left, right;
};

constexpr KeySide kKeySides[] = {
    {"<Shift>", "Shift", keynames::LeftShift, keynames::RightShift},
    {"<Control>", "Control", keynames::LeftControl, keynames::RightControl},
    {"<Alt>", "Alt", keynames::LeftAlt, keynames::RightAlt},
};

// Reality Boy's keys in its debug mode, one line each.
QString debugKeyList()
{
    static const char *const lines[] = {
        "'U' - Unassemble the next 16 instructions.",
        "'D' - Dump the next 16 instructions.",
        "'T' - Trace through next instruction.",
        "'B' - Run continusly, break at address.",
        "'J' - Jump to address.",
        "'R' - Show registers and next instruction.",
        "'V' - Video display mode. (Chr/Obj/BGMap/World)",
        "\t'P' - Save the screen as a bitmap (BMP) file.",
        "\t'C' - View chr ram.",
        "\t'O' - View obj map.",
        "\t'B' - View bgmap. (any key to cycle through all",
        "\t\t\t14 bgmaps, <ESC> to cancel)",
        "\t'W' - View world map. (any key to cycle through all",
        "\t\t\t32 world maps, <ESC> to cancel)",
        "\t'R' - View rom. (tile viewer)",
        "\t\t'u' 'd' - Up/Down 1 row.",
        "\t\t'U' 'D' - Up/Down 1 page.",
        "\t\t'+' '-' - Up/Down 1 byte (realign sprites).",
        "\t\t'<' '>' - Left/Right 1 sprite.",
        "\t\t'1' '2' - Shrink/Expand displayed columns.",
        "\t\t'H'     - Show view rom help.",
        "\t'P' - Print buffers to err.txt",
        "\t'D' - Run in emulation mode.",
        "\t'Q' or <ESC> - Quit video mode.",
        "'M' - Dump memory to a file.",
        "'?' - Display debug help.",
        "'Q' - Quit debug mode.",
        "'I' - Generate interrupt number.",
        "'L' - Set debug level. (0<all>-10<none>)",
    };
    QStringList text;
    for (const char *line : lines)
        text << QString::fromLatin1(line);
    return text.join(CR);
}

bool isEditingMode(const QString &mode)
{
    return mode == kVirtualE || mode == kRedDragon;
}

} // namespace

frmControlConfig::frmControlConfig(QWidget *parent)
    : Form(parent)
{
    setWindowTitle(QStringLiteral("Control Configuration..."));
    setClientSizeTwips(forms::Twips(kClientWidth), forms::Twips(kDesignClientHeight));
    createControls();
}

frmControlConfig::frmControlConfig(QListWidget &lstControls, QWidget *parent)
    : frmControlConfig(parent)
{
    m_redDragonKeys = &lstControls;
}

void frmControlConfig::ShowFor(const QString &emulator, QWidget *opener)
{
    mainwindow::Tag() = emulator;
    frmControlConfig dialog(opener);
    forms::ShowModal(dialog);
}

void frmControlConfig::ShowForRedDragon(QListWidget &lstControls, QWidget *opener)
{
    mainwindow::Tag() = kRedDragon;
    frmControlConfig dialog(lstControls, opener);
    forms::ShowModal(dialog);
}

void frmControlConfig::createControls()
{
    imgControlConfig = placePx<controls::ImageControl>(client(), 0, 0, kClientWidth, 128);
    imgControlConfig->setPicture(controllerWithLeaders());
    imgControlConfig->setFocusPolicy(Qt::NoFocus);

    for (const KeyButton &key : kKeyButtons) {
        auto *button = placePx<QPushButton>(client(), key.rightColumn ? kRightColumn : kLeftColumn,
                                            rowTop(key.row), kKeyWidth, kKeyHeight, QStringLiteral("<Key#000>"));
        button->setToolTip(QString::fromLatin1(key.toolTip));
        this->*key.button = button;
        m_keyButtons[size_t(key.slot)] = button;
        connect(button, &QPushButton::clicked, this, key.handler);
    }

    fraRealityBoy = placePx<QGroupBox>(client(), 24, 136, 225, 97, QStringLiteral("Additional Key Configurations:"));
    QFont labelFont(QStringLiteral("Times New Roman"));
    auto label = [&](int y, int width, int height, const char *caption) {
        auto *l = placePx<QLabel>(fraRealityBoy, 16, y, width, height, QString::fromLatin1(caption));
        l->setFont(labelFont);
        return l;
    };
    lblPrntScr = label(16, 201, 25, "'P'          - Save display to a                 bitmap (BMP) file.");
    lblPrntScr->setWordWrap(true);
    lblFlip3D = label(40, 193, 17, "'[' or ']'   - Flip 3D effects.");
    lblFrameSkip = label(56, 201, 17, "'0' to '9'   - Adjust frame skip.");
    lblQuit = label(72, 201, 17, "'Q' or <Esc> - Quit Reality Boy.");

    cmdDebug = placePx<QPushButton>(client(), 0, 248, 208, 17, QStringLiteral("Show Debug Mode Key Configuration..."));
    cmdOK = placePx<QPushButton>(client(), 216, 248, 56, 17, QStringLiteral("OK"));
    QFont bold = cmdOK->font();
    bold.setBold(true);
    cmdOK->setFont(bold);
    cmdVirteCancel = placePx<QPushButton>(client(), 0, kLowerRowTop, 73, 17, QStringLiteral("Cancel"));
    cmdVirteDefault = placePx<QPushButton>(client(), 80, kLowerRowTop, 57, 17, QStringLiteral("Default"));
    cmdVirteRevert = placePx<QPushButton>(client(), 144, kLowerRowTop, 57, 17, QStringLiteral("Revert"));
    cmdVirteOK = placePx<QPushButton>(client(), 208, kLowerRowTop, 64, 17, QStringLiteral("OK"));

    connect(cmdDebug, &QPushButton::clicked, this, &frmControlConfig::cmdDebug_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmControlConfig::cmdOK_Click);
    connect(cmdVirteCancel, &QPushButton::clicked, this, &frmControlConfig::cmdVirteCancel_Click);
    connect(cmdVirteDefault, &QPushButton::clicked, this, &frmControlConfig::cmdVirteDefault_Click);
    connect(cmdVirteRevert, &QPushButton::clicked, this, &frmControlConfig::cmdVirteRevert_Click);
    connect(cmdVirteOK, &QPushButton::clicked, this, &frmControlConfig::cmdVirteOK_Click);

    QWidget *previous = cmdOK;
    for (QPushButton *b : {cmdVirteCancel, cmdVirteDefault, cmdVirteRevert, cmdVirteOK}) {
        setTabOrder(previous, b);
        previous = b;
    }
    for (const KeyButton &key : kKeyButtons) {
        setTabOrder(previous, this->*key.button);
        previous = this->*key.button;
    }
    setTabOrder(previous, cmdDebug);
    // Every control here is a button: Enter presses the focused one, which is
    // drawn as the default while it has the focus, else the mode's OK (set at
    // load). Qt's auto-default buttons do exactly that.
}

void frmControlConfig::Form_Load()
{
    const QString mode = mainwindow::Tag();
    if (mode == kRealityBoy) {
        setWindowTitle(QStringLiteral("Reality Boy Control Configuration..."));
        setClientSizeTwips(forms::Twips(kClientWidth), forms::Twips(kRealityBoyClientHeight));
        KeyCodes = controllerkeys::DefaultKeySet();
        for (QPushButton *b : {cmdVirteOK, cmdVirteDefault, cmdVirteRevert, cmdVirteCancel})
            b->setEnabled(false);
        cmdOK->setDefault(true);
        setCancelButton(cmdOK);
        ShowKeyCaptions();
        cmdOK->setFocus();
    } else if (isEditingMode(mode)) {
        GetAnyRegistry();
        GetRedDragonKeys();
        setWindowTitle(mode + QStringLiteral(" Control Configuration..."));
        setClientSizeTwips(forms::Twips(kClientWidth), forms::Twips(kEditingClientHeight));
        fraRealityBoy->move(fraRealityBoy->x(), 160);
        fraRealityBoy->setEnabled(false);
        cmdOK->setEnabled(false);
        cmdDebug->setEnabled(false);
        for (QPushButton *b : {cmdVirteOK, cmdVirteDefault, cmdVirteRevert, cmdVirteCancel})
            b->move(b->x(), kEditingLowerRowTop);
        cmdVirteOK->setDefault(true);
        setCancelButton(cmdVirteCancel);
        ShowKeyCaptions();
        cmdVirteCancel->setFocus();
    }
    controls::FitCaptions(client());
}

void frmControlConfig::Form_Unload(bool &)
{
    mainwindow::Tag().clear();
}

void frmControlConfig::ShowKeyCaptions()
{
    for (int slot = 0; slot < controllerkeys::kSlotCount; ++slot)
        keyButton(slot)->setText(keynames::VirtualKeyName(KeyCodes[size_t(slot)]));
}

void frmControlConfig::AssignKey(int slot)
{
    QString &mailbox = mainwindow::Tag();
    const QString mode = mailbox;
    if (mode == kRealityBoy) {
        MsgBox(QStringLiteral("Key configuration can not be") + CR + QStringLiteral("changed in Reality Boy."),
               msgbox::vbOKOnly | msgbox::vbExclamation, QStringLiteral("Change key configuration"));
        return;
    }
    if (!isEditingMode(mode))
        return;

    frmKeyCapture capture(this);
    forms::ShowModal(capture);
    const QString captured = mailbox;
    // The mode goes back at once, for the next press and the other buttons.
    mailbox = mode;
    if (captured.isEmpty())
        return;

    int16_t code = vb::CInt(vb::Val(captured)).value_or(0);
    if (mode == kRedDragon) {
        // Red Dragon knows only the left and right modifier keys.
        const QString name = keynames::VirtualKeyName(code);
        for (const KeySide &side : kKeySides)
            if (name == QLatin1String(side.generic)) {
                code = AskKeySide(QString::fromLatin1(side.word));
                if (code == 0)
                    return;
                break;
            }
        if (keynames::RedDragonKeyFromName(keynames::VirtualKeyName(code)) == 0) {
            MsgBox(keynames::VirtualKeyName(code) + QStringLiteral(" can not be used in Red Dragon.") + CR
                       + QStringLiteral("Please choose another key."),
                   msgbox::vbOKOnly | msgbox::vbExclamation, QStringLiteral("Change key configuration"));
            return;
        }
    }
    keyButton(slot)->setText(keynames::VirtualKeyName(code));
    KeyCodes[size_t(slot)] = code;
}

int16_t frmControlConfig::AskKeySide(const QString &word)
{
    const KeySide *side = nullptr;
    for (const KeySide &s : kKeySides)
        if (word == QLatin1String(s.word))
            side = &s;
    const QString firstLine = QStringLiteral("Unable to detect correct %1 key.").arg(word) + CR;
    const int style = msgbox::vbYesNo | msgbox::vbQuestion | msgbox::vbDefaultButton2;
    // Asked again and again until a Yes, unless the user leaves the question.
    for (;;) {
        int answer = msgbox::Ask(firstLine + QStringLiteral("Do you wish to use the left %1 key?").arg(word), style,
                                 QStringLiteral("Use left key?"));
        if (answer == msgbox::vbYes)
            return side->left;
        if (answer != msgbox::vbNo)
            return 0;
        answer = msgbox::Ask(firstLine + QStringLiteral("Do you wish to use the right %1 key?").arg(word), style,
                             QStringLiteral("Use right key?"));
        if (answer == msgbox::vbYes)
            return side->right;
        if (answer != msgbox::vbNo)
            return 0;
    }
}

void frmControlConfig::GetAnyRegistry()
{
    if (mainwindow::Tag() == kVirtualE)
        KeyCodes = virtuale::ReadKeypad();
}

bool frmControlConfig::SaveAnyRegistry()
{
    if (mainwindow::Tag() != kVirtualE)
        return true;
    if (const QString problem = virtuale::SaveKeypad(KeyCodes); !problem.isEmpty()) {
        MsgBox(problem + CR + QStringLiteral("The key configuration was not saved."),
               msgbox::vbOKOnly | msgbox::vbExclamation, QStringLiteral("Keys not saved"));
        return false;
    }
    return true;
}

void frmControlConfig::GetRedDragonKeys()
{
    if (mainwindow::Tag() != kRedDragon)
        return;
    QStringList items;
    if (m_redDragonKeys)
        for (int i = 0; i < m_redDragonKeys->count(); ++i)
            items << m_redDragonKeys->item(i)->text();
    KeyCodes = controllerkeys::KeyCodesFromRedDragonItems(items);
}

void frmControlConfig::SaveRedDragonKeys()
{
    if (mainwindow::Tag() != kRedDragon || !m_redDragonKeys)
        return;
    m_redDragonKeys->clear();
    m_redDragonKeys->addItems(controllerkeys::RedDragonItemsFromKeyCodes(KeyCodes));
}

void frmControlConfig::cmdAButton_Click() { AssignKey(Slot::AButton); }
void frmControlConfig::cmdBButton_Click() { AssignKey(Slot::BButton); }
void frmControlConfig::cmdLButton_Click() { AssignKey(Slot::LTrigger); }
void frmControlConfig::cmdRButton_Click() { AssignKey(Slot::RTrigger); }
void frmControlConfig::cmdLtUp_Click() { AssignKey(Slot::LeftPadUp); }
void frmControlConfig::cmdLtDn_Click() { AssignKey(Slot::LeftPadDown); }
void frmControlConfig::cmdLtLt_Click() { AssignKey(Slot::LeftPadLeft); }
void frmControlConfig::cmdLtRt_Click() { AssignKey(Slot::LeftPadRight); }
void frmControlConfig::cmdRtUp_Click() { AssignKey(Slot::RightPadUp); }
void frmControlConfig::cmdRtDn_Click() { AssignKey(Slot::RightPadDown); }
void frmControlConfig::cmdRtLt_Click() { AssignKey(Slot::RightPadLeft); }
void frmControlConfig::cmdRtRt_Click() { AssignKey(Slot::RightPadRight); }
void frmControlConfig::cmdStart_Click() { AssignKey(Slot::Start); }
void frmControlConfig::cmdSelect_Click() { AssignKey(Slot::Select); }

void frmControlConfig::cmdDebug_Click()
{
    MsgBox(debugKeyList(), msgbox::vbOKOnly, QStringLiteral("Debug mode key configuration"));
}

void frmControlConfig::cmdOK_Click()
{
    close();
}

void frmControlConfig::cmdVirteCancel_Click()
{
    if (isEditingMode(mainwindow::Tag()))
        close();
}

void frmControlConfig::cmdVirteDefault_Click()
{
    if (!revertquestions::AskRevertToDefault() || !isEditingMode(mainwindow::Tag()))
        return;
    KeyCodes = controllerkeys::DefaultKeySet();
    ShowKeyCaptions();
}

void frmControlConfig::cmdVirteRevert_Click()
{
    if (!revertquestions::AskRevertToSaved())
        return;
    GetAnyRegistry();
    GetRedDragonKeys();
    ShowKeyCaptions();
}

void frmControlConfig::cmdVirteOK_Click()
{
    if (!SaveAnyRegistry())
        return; // the user was told; the keys stay in the dialog
    SaveRedDragonKeys();
    close();
}
