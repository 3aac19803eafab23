#include "frmEmus.h"

#include "Controls.h"
#include "ImageControl.h"
#include "MsgBox.h"
#include "PickerEntries.h"
#include "Process.h"
#include "ToolIcons.h"
#include "frmRealityBoy.h"
#include "frmRedDragon.h"
#include "frmVirtualE.h"

namespace {

using msgbox::CR;

} // namespace

frmEmus::frmEmus(QWidget *parent)
    : Form(parent)
{
    picker::SetUpWindow(*this, QStringLiteral("Virtual Boy Emulators..."));
    std::tie(fraRealityBoy, imgRealityBoy, imgRealityBoyDisabled) =
        picker::CreateEntry(this, 120, QStringLiteral("Reality Boy"), QStringLiteral("Reality Boy"),
                            toolicons::realityBoy(), &frmEmus::fraRealityBoy_Click, &frmEmus::imgRealityBoy_Click)
            .parts();
    std::tie(fraVirtualE, imgVirtualE, imgVirtualEDisabled) =
        picker::CreateEntry(this, 1920, QStringLiteral("Virtual-E"), QStringLiteral("Virtual-E"), toolicons::virtualE(),
                            &frmEmus::fraVirtualE_Click, &frmEmus::imgVirtualE_Click)
            .parts();
    std::tie(fraRedDragon, imgRedDragon, imgRedDragonDisabled) =
        picker::CreateEntry(this, 3720, QStringLiteral("Red Dragon"), QStringLiteral("Red Dragon"),
                            toolicons::redDragon(), &frmEmus::fraRedDragon_Click, &frmEmus::imgRedDragon_Click)
            .parts();
    controls::FitCaptions(client());
    setTabOrder(fraRealityBoy, fraVirtualE);
    setTabOrder(fraVirtualE, fraRedDragon);
}

void frmEmus::GetRegistry()
{
    RealityBoy = ReadToolSetting(ToolId::RealityBoy);
    VirtualE = ReadToolSetting(ToolId::VirtualE);
    RedDragon = ReadToolSetting(ToolId::RedDragon);
}

void frmEmus::Form_Load()
{
    GetRegistry();
    picker::Entry{fraRealityBoy, imgRealityBoy, imgRealityBoyDisabled}.setProgramEnabled(RealityBoy.enabled);
    picker::Entry{fraVirtualE, imgVirtualE, imgVirtualEDisabled}.setProgramEnabled(VirtualE.enabled);
    picker::Entry{fraRedDragon, imgRedDragon, imgRedDragonDisabled}.setProgramEnabled(RedDragon.enabled);
}

void frmEmus::fraRealityBoy_Click()
{
    if (canPick(ToolId::RealityBoy, RealityBoy))
        openFrontEnd<frmRealityBoy>(RealityBoy.folder);
}

void frmEmus::fraVirtualE_Click()
{
    if (canPick(ToolId::VirtualE, VirtualE))
        openFrontEnd<frmVirtualE>(VirtualE.folder);
}

void frmEmus::fraRedDragon_Click()
{
    if (canPick(ToolId::RedDragon, RedDragon))
        openFrontEnd<frmRedDragon>(RedDragon.folder);
}

bool frmEmus::canPick(ToolId emulator, const ToolSetting &setting)
{
    if (!setting.enabled)
        return false;
    const ToolDefinition &definition = ToolDefinitionOf(emulator);
    if (FolderHoldsAnyOf(setting.folder, definition.programFiles))
        return true;
    msgbox::MsgBox(definition.missingTextWhenPicked() + CR + setting.folder, msgbox::vbExclamation, definition.missingTitle);
    return false;
}

template <typename FrontEnd>
void frmEmus::openFrontEnd(const QString &folder)
{
    close();
    // The emulator that the front-end starts runs in its own folder.
    const process::HandOnWorkingFolder runIn(folder);
    // The front-end closes back to the main window, the chooser's opener.
    FrontEnd frontEnd(parentWidget());
    forms::ShowModal(frontEnd);
}
