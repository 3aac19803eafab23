#include "frmJapaneseIme.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

#include "Controls.h"
#include "Fonts.h"
#include "HeaderTextValidator.h"
#include "KanaToRomaji.h"

namespace {

constexpr int kTitleLength = 20;

struct KanaButton {
    uchar byte;
    const char *toolTip;
    int left, top, width, height;
};

// Gojuon buttons: columns 480 twips apart, rows 480 apart; the YA and WA
// columns keep their three buttons 600 apart.
constexpr int kKana = 375;
constexpr int column(int n) { return 120 + 480 * n; }
constexpr int row(int n) { return 120 + 480 * n; }
constexpr int sparseRow(int n) { return 120 + 600 * n; }
// Small kana and punctuation: narrow buttons in three columns.
constexpr int kSmallWidth = 255;
constexpr int smallRow(int n) { return 120 + 480 * n; }

const std::array<KanaButton, frmJapaneseIme::kKanaCount> &kanaButtons()
{
    static const std::array<KanaButton, frmJapaneseIme::kKanaCount> buttons = {{
        {0xB1, "A", column(0), row(0), kKana, kKana},
        {0xB2, "I", column(0), row(1), kKana, kKana},
        {0xB3, "U", column(0), row(2), kKana, kKana},
        {0xB4, "E", column(0), row(3), kKana, kKana},
        {0xB5, "O", column(0), row(4), kKana, kKana},
        {0xB6, "KA", column(1), row(0), kKana, kKana},
        {0xB7, "KI", column(1), row(1), kKana, kKana},
        {0xB8, "KU", column(1), row(2), kKana, kKana},
        {0xB9, "KE", column(1), row(3), kKana, kKana},
        {0xBA, "KO", column(1), row(4), kKana, kKana},
        {0xBB, "SA", column(2), row(0), kKana, kKana},
        {0xBC, "SHI (SI)", column(2), row(1), kKana, kKana},
        {0xBD, "SU", column(2), row(2), kKana, kKana},
        {0xBE, "SE", column(2), row(3), kKana, kKana},
        {0xBF, "SO", column(2), row(4), kKana, kKana},
        {0xC0, "TA", column(3), row(0), kKana, kKana},
        {0xC1, "CHI (TI)", column(3), row(1), kKana, kKana},
        {0xC2, "TSU (TU)", column(3), row(2), kKana, kKana},
        {0xC3, "TE", column(3), row(3), kKana, kKana},
        {0xC4, "TO", column(3), row(4), kKana, kKana},
        {0xC5, "NA", column(4), row(0), kKana, kKana},
        {0xC6, "NYI (NI)", column(4), row(1), kKana, kKana},
        {0xC7, "NU", column(4), row(2), kKana, kKana},
        {0xC8, "NE", column(4), row(3), kKana, kKana},
        {0xC9, "NO", column(4), row(4), kKana, kKana},
        {0xCA, "HA", column(5), row(0), kKana, kKana},
        {0xCB, "(HYI) HI", column(5), row(1), kKana, kKana},
        {0xCC, "FU (HU)", column(5), row(2), kKana, kKana},
        {0xCD, "HE", column(5), row(3), kKana, kKana},
        {0xCE, "HO", column(5), row(4), kKana, kKana},
        {0xCF, "MA", column(6), row(0), kKana, kKana},
        {0xD0, "MI", column(6), row(1), kKana, kKana},
        {0xD1, "MU", column(6), row(2), kKana, kKana},
        {0xD2, "ME", column(6), row(3), kKana, kKana},
        {0xD3, "MO", column(6), row(4), kKana, kKana},
        {0xD4, "YA", column(7), sparseRow(0), kKana, kKana},
        {0xD5, "YU", column(7), sparseRow(1), kKana, kKana},
        {0xD6, "YO", column(7), sparseRow(2), kKana, kKana},
        {0xD7, "RA", column(8), row(0), kKana, kKana},
        {0xD8, "RI", column(8), row(1), kKana, kKana},
        {0xD9, "RU", column(8), row(2), kKana, kKana},
        {0xDA, "RE", column(8), row(3), kKana, kKana},
        {0xDB, "RO", column(8), row(4), kKana, kKana},
        {0xDC, "WA", column(9), sparseRow(0), kKana, kKana},
        {0xA6, "O (WO)", column(9), sparseRow(1), kKana, kKana},
        {0xDD, "N", column(9), sparseRow(2), kKana, kKana},
        {0xA7, "Small A", 4920, smallRow(0), kSmallWidth, kKana},
        {0xA8, "Small I", 4920, smallRow(1), kSmallWidth, kKana},
        {0xA9, "Small U", 4920, smallRow(2), kSmallWidth, kKana},
        {0xAA, "Small E", 4920, smallRow(3), kSmallWidth, kKana},
        {0xAB, "Small O", 4920, smallRow(4), kSmallWidth, kKana},
        {0xAC, "Small YA", 5280, smallRow(0), kSmallWidth, kKana},
        {0xAD, "Small YU", 5280, smallRow(1), kSmallWidth, kKana},
        {0xAE, "Small YO", 5280, smallRow(2), kSmallWidth, kKana},
        {0xAF, "Small TSU", 5280, smallRow(3), kSmallWidth, kKana},
        {0xB0, "Prolonged Sound Mark", 5280, smallRow(4), kSmallWidth, kKana},
        {0xA1, "Ideographic Full Stop", 5640, smallRow(0), kSmallWidth, kKana},
        {0xA4, "Ideographic Comma", 5640, smallRow(1), kSmallWidth, kKana},
        {0xA2, "Left Corner Bracket", 5640, smallRow(2), kSmallWidth, kKana},
        {0xA3, "Right Corner Bracket", 5640, smallRow(3), kSmallWidth, kKana},
        {0xA5, "Middle Dot", 5640, smallRow(4), kSmallWidth, kKana},
        {0xDE, "Voiced Sound Mark", column(7), 1920, kKana, 495},
        {0xDF, "Semi-Voiced Sound Mark", column(9), 1920, kKana, 495},
    }};
    return buttons;
}

} // namespace

frmJapaneseIme::frmJapaneseIme(controls::ChangeLabel &romTitle, QWidget *parent)
    : Form(parent)
    , m_romTitle(romTitle)
{
    using controls::Place;
    setWindowTitle(QStringLiteral("Virtual Boy ROM Title Editor..."));
    setClientSizeTwips(6000, 3000);

    cmdCancel = Place<QPushButton>(client(), 120, 2520, 975, 375, QStringLiteral("Cancel"));
    txtRomTitle = Place<QLineEdit>(client(), 1200, 2520, 3615, 375);
    txtRomTitle->setMaxLength(kTitleLength);
    txtRomTitle->setFont(fonts::KatakanaFont(14.25));
    txtRomTitle->setToolTip(QStringLiteral("Type characters or press appropriate button"));
    cmdOK = Place<QPushButton>(client(), 4920, 2520, 975, 375, QStringLiteral("OK"));
    createKanaButtons();

    setTabOrder(cmdCancel, txtRomTitle);
    setTabOrder(txtRomTitle, cmdOK);
    QWidget *previous = cmdOK;
    for (QPushButton *kana : cmdKatakana) {
        setTabOrder(previous, kana);
        previous = kana;
    }

    connect(txtRomTitle, &QLineEdit::textChanged, this, &frmJapaneseIme::txtRomTitle_Change);
    txtRomTitle->installEventFilter(this);
    connect(cmdOK, &QPushButton::clicked, this, &frmJapaneseIme::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmJapaneseIme::cmdCancel_Click);
    setCancelButton(cmdCancel);
}

void frmJapaneseIme::createKanaButtons()
{
    const QFont kanaFont = fonts::KatakanaFont(15.75);
    for (int i = 0; i < kKanaCount; ++i) {
        const KanaButton &k = kanaButtons()[size_t(i)];
        auto *button = controls::Place<controls::CommandButton>(client(), k.left, k.top, k.width, k.height,
                                                                fonts::DecodeTitle(QByteArray(1, char(k.byte))));
        button->setFont(kanaFont);
        button->setToolTip(QString::fromLatin1(k.toolTip));
        // The caret stays in the title box while buttons are pressed.
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QPushButton::clicked, this, [this, i] { cmdKatakana_Click(i); });
        cmdKatakana[size_t(i)] = button;
    }
}

uchar frmJapaneseIme::KanaByte(int index)
{
    return kanaButtons()[size_t(index)].byte;
}

void frmJapaneseIme::Form_Load()
{
    auto *validator = new HeaderTextValidator(txtRomTitle);
    validator->setKept(m_romTitle.caption());
    txtRomTitle->setValidator(validator);
    txtRomTitle->setText(m_romTitle.caption());
    txtRomTitle->setCursorPosition(txtRomTitle->text().size());
    txtRomTitle_Change();
    cmdCancel->setFocus();
}

bool frmJapaneseIme::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtRomTitle && event->type() == QEvent::FocusIn)
        txtRomTitle_GotFocus();
    return Form::eventFilter(watched, event);
}

void frmJapaneseIme::cmdKatakana_Click(int index)
{
    const QString text = txtRomTitle->text();
    const bool selected = txtRomTitle->hasSelectedText();
    const int start = selected ? txtRomTitle->selectionStart() : txtRomTitle->cursorPosition();
    const int length = selected ? int(txtRomTitle->selectedText().size()) : 0;
    const QString kana = cmdKatakana[size_t(index)]->text();
    // The kana replaces the selection or goes in at the caret; the box keeps
    // the first 20 characters.
    txtRomTitle->setText(text.left(start) + kana + text.mid(start + length));
    txtRomTitle->setCursorPosition(std::min(start + 1, int(txtRomTitle->text().size())));
}

void frmJapaneseIme::txtRomTitle_Change()
{
    txtRomTitle->setToolTip(KanaToRomaji(fonts::EncodeTitle(txtRomTitle->text())));
}

void frmJapaneseIme::txtRomTitle_GotFocus()
{
    txtRomTitle_Change();
}

void frmJapaneseIme::cmdOK_Click()
{
    m_romTitle.setCaption(txtRomTitle->text());
    close();
}

void frmJapaneseIme::cmdCancel_Click()
{
    close();
}
