#include "frmUtils.h"

#include "Controls.h"
#include "ImageControl.h"
#include "MsgBox.h"
#include "Paths.h"
#include "PickerEntries.h"
#include "Process.h"
#include "ToolIcons.h"

using msgbox::CR;

frmUtils::frmUtils(QWidget *parent)
    : Form(parent)
{
    picker::SetUpWindow(*this, QStringLiteral("Virtual Boy Utilities..."));
    const controls::Picture icon = toolicons::developerTool();
    // Made in tab order, right to left: the focus chain follows creation, so
    // the development kit takes the first focus.
    std::tie(fraVBDK, imgVBDK, imgVBDKDisabled) =
        picker::CreateEntry(this, 3720, QStringLiteral("VB Development Kit"),
                            QStringLiteral("Virtual Boy Development Kit"), icon, &frmUtils::fraVBDK_Click,
                            &frmUtils::imgVBDK_Click)
            .parts();
    std::tie(fraEnvironment, imgEnvironment, imgEnvironmentDisabled) =
        picker::CreateEntry(this, 1920, QStringLiteral("Virtual-Environment"), QStringLiteral("Virtual-Environment"),
                            icon, &frmUtils::fraEnvironment_Click, &frmUtils::imgEnvironment_Click)
            .parts();
    std::tie(fraVECC, imgVECC, imgVECCDisabled) =
        picker::CreateEntry(this, 120, QStringLiteral("Virtual-E C Compiler"), QStringLiteral("Virtual-E C Compiler"),
                            icon, &frmUtils::fraVECC_Click, &frmUtils::imgVECC_Click)
            .parts();
    controls::FitCaptions(client());
}

void frmUtils::GetRegistry()
{
    VECCompiler = ReadToolSetting(ToolId::VECCompiler);
    VEnvironment = ReadToolSetting(ToolId::VEnvironment);
    VBDevKit = ReadToolSetting(ToolId::VBDevKit);
}

void frmUtils::Form_Load()
{
    GetRegistry();
    picker::Entry{fraVECC, imgVECC, imgVECCDisabled}.setProgramEnabled(VECCompiler.enabled);
    picker::Entry{fraEnvironment, imgEnvironment, imgEnvironmentDisabled}.setProgramEnabled(VEnvironment.enabled);
    picker::Entry{fraVBDK, imgVBDK, imgVBDKDisabled}.setProgramEnabled(VBDevKit.enabled);
}

void frmUtils::fraVECC_Click()
{
    pick(ToolId::VECCompiler, VECCompiler);
}

void frmUtils::fraEnvironment_Click()
{
    pick(ToolId::VEnvironment, VEnvironment);
}

void frmUtils::fraVBDK_Click()
{
    pick(ToolId::VBDevKit, VBDevKit);
}

void frmUtils::pick(ToolId tool, const ToolSetting &setting)
{
    if (setting.enabled)
        PickTool(tool, setting.folder, [this] { close(); });
}

bool frmUtils::PickTool(ToolId tool, const QString &folder, const std::function<void()> &picked)
{
    const ToolDefinition &definition = ToolDefinitionOf(tool);
    // For the VB Dev Kit the highest-numbered installer there is.
    const QString program = NewestProgramIn(folder, definition.programFiles);
    if (program.isEmpty()) {
        msgbox::MsgBox(definition.missingTextWhenPicked() + CR + folder, msgbox::vbExclamation, definition.missingTitle);
        return false;
    }

    if (tool == ToolId::VECCompiler) {
        if (picked)
            picked();
        msgbox::MsgBox(QStringLiteral("Currently unavailable in beta version."), msgbox::vbExclamation,
                       QStringLiteral("Out of order"));
        return true;
    }

    // The tool runs in its own folder; ours stays where it is.
    process::StartRequest request;
    request.program = program;
    request.workingFolder = folder;
    request.windowStyle = process::vbNormalFocus;
    if (!process::Start(request))
        return false;
    if (picked)
        picked();
    return true;
}
