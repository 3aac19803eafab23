#include "frmPalette.h"

#include <QLabel>
#include <QPushButton>

#include "Controls.h"
#include "FileMessages.h"
#include "MainWindowState.h"
#include "MsgBox.h"
#include "PaletteFile.h"
#include "PictureBox.h"
#include "Registry.h"
#include "SettingsRecord.h"
#include "SettingsStore.h"
#include "frmLoadPal.h"

namespace {

// Each shade's group: three rows of label and box, the preview beside the
// first two rows and Revert beside the third.
constexpr int kGroupTop = 120;
constexpr int kGroupPitch = 1155;
constexpr int kRowPitch = 360;
constexpr int kRowHeight = 315;
constexpr int kLabelLeft = 120;
constexpr int kBoxLeft = 420;
constexpr int kBoxWidth = 615;
constexpr int kPreviewLeft = 1155;
constexpr int kPreviewWidth = 945;
constexpr int kGroupsBottom = kGroupTop + 3 * kGroupPitch + 2 * kRowPitch + kRowHeight;
constexpr int kButtonsTop = kGroupsBottom + 135;
constexpr int kButtonPitch = 495;
constexpr int kButtonHeight = 375;
constexpr int kClientWidth = kPreviewLeft + kPreviewWidth + 120;
constexpr int kClientHeight = kButtonsTop + kButtonPitch + kButtonHeight + 120;

const std::array<QString, 3> kComponentCaptions{QStringLiteral("R:"), QStringLiteral("G:"), QStringLiteral("B:")};
const std::array<QString, tilepalette::kShadeCount> kShadeNames{QStringLiteral("White"), QStringLiteral("L Grey"),
                                                                 QStringLiteral("D Grey"), QStringLiteral("Black")};
const std::array<QString, 3> kComponentNames{QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue")};

} // namespace

frmPalette::frmPalette(QWidget *parent)
    : Form(parent)
{
    setWindowTitle(QStringLiteral("Palette..."));
    setClientSizeTwips(kClientWidth, kClientHeight);
    createControls();
}

void frmPalette::createControls()
{
    using controls::NumberBox;
    using controls::Place;
    QWidget *c = client();

    std::array<controls::NumberBox **, tilepalette::kValueCount> boxes{
        &txtCol1R, &txtCol1G, &txtCol1B, &txtCol2R, &txtCol2G, &txtCol2B,
        &txtCol3R, &txtCol3G, &txtCol3B, &txtCol4R, &txtCol4G, &txtCol4B};
    std::array<QLabel **, tilepalette::kValueCount> labels{
        &lblCol1R, &lblCol1G, &lblCol1B, &lblCol2R, &lblCol2G, &lblCol2B,
        &lblCol3R, &lblCol3G, &lblCol3B, &lblCol4R, &lblCol4G, &lblCol4B};
    std::array<controls::PictureBox **, tilepalette::kShadeCount> previews{&picCol1Preview, &picCol2Preview, &picCol3Preview,
                                                                  &picCol4Preview};
    std::array<QPushButton **, tilepalette::kShadeCount> reverts{&cmdCol1Revert, &cmdCol2Revert, &cmdCol3Revert,
                                                                 &cmdCol4Revert};

    for (int shade = 0; shade < tilepalette::kShadeCount; ++shade) {
        const int top = kGroupTop + shade * kGroupPitch;
        for (int component = 0; component < 3; ++component) {
            const size_t i = size_t(shade * 3 + component);
            const int rowTop = top + component * kRowPitch;
            QLabel *label = *labels[i] = Place<QLabel>(c, kLabelLeft, rowTop, kBoxLeft - kLabelLeft, kRowHeight,
                                                       kComponentCaptions[size_t(component)]);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            NumberBox *box = *boxes[i] = Place<NumberBox>(c, kBoxLeft, rowTop, kBoxWidth, kRowHeight);
            label->setBuddy(box);
            box->setAccessibleName(kShadeNames[size_t(shade)] + QLatin1Char(' ') + kComponentNames[size_t(component)]);
        }
        auto *preview = *previews[size_t(shade)] =
            new controls::PictureBox(c, kPreviewLeft, top, kPreviewWidth, kRowPitch + kRowHeight);
        preview->setAccessibleName(kShadeNames[size_t(shade)] + QStringLiteral(" preview"));
        m_previews[size_t(shade)] = preview;
        *reverts[size_t(shade)] = Place<QPushButton>(c, kPreviewLeft, top + 2 * kRowPitch, kPreviewWidth, kRowHeight,
                                                     QStringLiteral("Revert"));
    }

    const int half = (kClientWidth - 3 * 120) / 2;
    cmdLoad = Place<QPushButton>(c, 120, kButtonsTop, half, kButtonHeight, QStringLiteral("Load"));
    cmdSave = Place<QPushButton>(c, 240 + half, kButtonsTop, half, kButtonHeight, QStringLiteral("Save"));
    cmdApply = Place<QPushButton>(c, 120, kButtonsTop + kButtonPitch, half, kButtonHeight, QStringLiteral("Apply"));
    cmdCancel = Place<QPushButton>(c, 240 + half, kButtonsTop + kButtonPitch, half, kButtonHeight,
                                   QStringLiteral("Cancel"));
    setCancelButton(cmdCancel);
    // Enter presses only a button that has the focus.
    setNoDefaultButton();

    // Cancel first, the Reverts, the boxes in palette order, then Load, Apply
    // and Save. The previews show a colour and take no focus.
    QList<QWidget *> order{cmdCancel, cmdCol1Revert, cmdCol2Revert, cmdCol3Revert, cmdCol4Revert};
    for (controls::NumberBox *box : paletteBoxes())
        order << box;
    order << cmdLoad << cmdApply << cmdSave;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    const std::array<void (frmPalette::*)(), tilepalette::kValueCount> changeRules{
        &frmPalette::txtCol1R_Change, &frmPalette::txtCol1G_Change, &frmPalette::txtCol1B_Change,
        &frmPalette::txtCol2R_Change, &frmPalette::txtCol2G_Change, &frmPalette::txtCol2B_Change,
        &frmPalette::txtCol3R_Change, &frmPalette::txtCol3G_Change, &frmPalette::txtCol3B_Change,
        &frmPalette::txtCol4R_Change, &frmPalette::txtCol4G_Change, &frmPalette::txtCol4B_Change};
    for (size_t i = 0; i < changeRules.size(); ++i)
        connect(*boxes[i], &NumberBox::numberChanged, this, changeRules[i]);
    connect(cmdCol1Revert, &QPushButton::clicked, this, &frmPalette::cmdCol1Revert_Click);
    connect(cmdCol2Revert, &QPushButton::clicked, this, &frmPalette::cmdCol2Revert_Click);
    connect(cmdCol3Revert, &QPushButton::clicked, this, &frmPalette::cmdCol3Revert_Click);
    connect(cmdCol4Revert, &QPushButton::clicked, this, &frmPalette::cmdCol4Revert_Click);
    connect(cmdLoad, &QPushButton::clicked, this, &frmPalette::cmdLoad_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmPalette::cmdSave_Click);
    connect(cmdApply, &QPushButton::clicked, this, &frmPalette::cmdApply_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPalette::cmdCancel_Click);

    controls::FitCaptions(this);
}

std::array<controls::NumberBox *, tilepalette::kValueCount> frmPalette::paletteBoxes() const
{
    return {txtCol1R, txtCol1G, txtCol1B, txtCol2R, txtCol2G, txtCol2B,
            txtCol3R, txtCol3G, txtCol3B, txtCol4R, txtCol4G, txtCol4B};
}

void frmPalette::Form_Load()
{
    GetRegistry();
    const tilepalette::Values loaded = tilepalette::MemberValues(*this);
    const auto boxes = paletteBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setText(QString::number(loaded[i]));
    for (int shade = 0; shade < tilepalette::kShadeCount; ++shade)
        setPreview(shade, loaded);
    for (controls::NumberBox *box : boxes)
        box->end(false);
    cmdCancel->setFocus();
}

void frmPalette::GetRegistry()
{
    BaseDirectory = settings::Get(QStringLiteral("Base Directory"), DefaultFolder());
    tilepalette::SetMemberValues(*this, tilepalette::Read(tilepalette::kEditorDefaults));
}

void frmPalette::SaveRegistry()
{
    tilepalette::Save(tilepalette::MemberValues(*this));
}

tilepalette::Values frmPalette::editedPalette() const
{
    tilepalette::Values values{};
    const auto boxes = paletteBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        values[i] = tilepalette::ComponentByte(boxes[i]->value());
    return values;
}

void frmPalette::keepWithinBounds(int box)
{
    controls::NumberBox *edited = paletteBoxes()[size_t(box)];
    // A bound set here runs the whole rule again for the box, preview included.
    if (edited->value() > 255) {
        edited->setTextAtEnd(QStringLiteral("255"));
        return;
    }
    if (edited->value() < 0) {
        edited->setTextAtEnd(QStringLiteral("0"));
        return;
    }
    showPreview(box / 3);
}

void frmPalette::showPreview(int shade)
{
    setPreview(shade, editedPalette());
}

void frmPalette::setPreview(int shade, const tilepalette::Values &values)
{
    m_previews[size_t(shade)]->setBackColor(controls::ColourFromRgb(tilepalette::ShadeColour(values, shade).rgb()));
}

void frmPalette::txtCol1R_Change() { keepWithinBounds(0); }
void frmPalette::txtCol1G_Change() { keepWithinBounds(1); }
void frmPalette::txtCol1B_Change() { keepWithinBounds(2); }
void frmPalette::txtCol2R_Change() { keepWithinBounds(3); }
void frmPalette::txtCol2G_Change() { keepWithinBounds(4); }
void frmPalette::txtCol2B_Change() { keepWithinBounds(5); }
void frmPalette::txtCol3R_Change() { keepWithinBounds(6); }
void frmPalette::txtCol3G_Change() { keepWithinBounds(7); }
void frmPalette::txtCol3B_Change() { keepWithinBounds(8); }
void frmPalette::txtCol4R_Change() { keepWithinBounds(9); }
void frmPalette::txtCol4G_Change() { keepWithinBounds(10); }
void frmPalette::txtCol4B_Change() { keepWithinBounds(11); }

void frmPalette::revert(int shade)
{
    const tilepalette::Values loaded = tilepalette::MemberValues(*this);
    const auto boxes = paletteBoxes();
    for (size_t i = size_t(shade) * 3; i < size_t(shade) * 3 + 3; ++i)
        boxes[i]->setText(QString::number(loaded[i]));
}

void frmPalette::cmdCol1Revert_Click() { revert(0); }
void frmPalette::cmdCol2Revert_Click() { revert(1); }
void frmPalette::cmdCol3Revert_Click() { revert(2); }
void frmPalette::cmdCol4Revert_Click() { revert(3); }

void frmPalette::cmdLoad_Click()
{
    frmLoadPal loader(paletteBoxes(), this);
    forms::ShowModal(loader);
}

void frmPalette::cmdSave_Click()
{
    const QString path = mainwindow::AskFileName(commondialog::Kind::Save, palettefile::kFilter, BaseDirectory, this);
    if (path.isEmpty() || !filemessages::MayReplace(path))
        return;
    if (const auto failure = palettefile::Write(path, editedPalette()))
        filemessages::ReportNotSaved(path, *failure);
}

void frmPalette::cmdApply_Click()
{
    const tilepalette::Values before = tilepalette::MemberValues(*this);
    tilepalette::SetMemberValues(*this, editedPalette());
    registry::TakeStoreProblem(); // an older problem is not this write's
    SaveRegistry();
    // A palette that could not be stored must not look applied: the editor
    // stays open with the user's values.
    if (const QString problem = registry::TakeStoreProblem(); !problem.isEmpty()) {
        tilepalette::SetMemberValues(*this, before);
        msgbox::MsgBox(problem + msgbox::CR + QStringLiteral("The palette was not saved."), msgbox::vbExclamation,
                       QStringLiteral("Palette not saved"));
        return;
    }
    close();
}

void frmPalette::cmdCancel_Click()
{
    close();
}
