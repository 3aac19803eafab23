#include "frmUtils.h"

#include "Controls.h"
#include "ImageControl.h"
#include "MsgBox.h"
#include "Paths.h"
#include "PickerEntries.h"
#include "Process.h"
#include "ToolIcons.h"

namespace {

const QChar CR(u'\r');

// The launcher's own wording where it differs from the options dialog's.
QString missingText(ToolId tool)
{
    if (tool == ToolId::VECCompiler)
        return QStringLiteral("Can't find VECC.EXE in directory:");
    return ToolDefinitionOf(tool).missingText;
}

} // namespace

frmUtils::frmUtils(QWidget *parent)
    : Form(parent)
{
    picker::SetUpWindow(*this, QStringLiteral("Virtual Boy Utilities..."));
    const controls::Picture icon = toolicons::developerTool();
    const picker::Entry vecc = picker::CreateEntry(client(), 120, QStringLiteral("Virtual-E C Compiler"),
                                                   QStringLiteral("Virtual-E C Compiler"), icon);
    const picker::Entry environment = picker::CreateEntry(client(), 1920, QStringLiteral("Virtual-Environment"),
                                                          QStringLiteral("Virtual-Environment"), icon);
    const picker::Entry vbdk = picker::CreateEntry(client(), 3720, QStringLiteral("VB Development Kit"),
                                                   QStringLiteral("Virtual Boy Development Kit"), icon);
    fraVECC = vecc.frame;
    imgVECC = vecc.image;
    imgVECCDisabled = vecc.imageDisabled;
    fraEnvironment = environment.frame;
    imgEnvironment = environment.image;
    imgEnvironmentDisabled = environment.imageDisabled;
    fraVBDK = vbdk.frame;
    imgVBDK = vbdk.image;
    imgVBDKDisabled = vbdk.imageDisabled;
    controls::FitCaptions(client());
    setTabOrder(fraVBDK, fraEnvironment);
    setTabOrder(fraEnvironment, fraVECC);

    connect(fraVECC, &picker::PickFrame::clicked, this, &frmUtils::fraVECC_Click);
    connect(fraEnvironment, &picker::PickFrame::clicked, this, &frmUtils::fraEnvironment_Click);
    connect(fraVBDK, &picker::PickFrame::clicked, this, &frmUtils::fraVBDK_Click);
    connect(imgVECC, &controls::ImageControl::clicked, this, &frmUtils::imgVECC_Click);
    connect(imgEnvironment, &controls::ImageControl::clicked, this, &frmUtils::imgEnvironment_Click);
    connect(imgVBDK, &controls::ImageControl::clicked, this, &frmUtils::imgVBDK_Click);
}

void frmUtils::GetRegistry()
{
    const ToolSetting compiler = ReadToolSetting(ToolId::VECCompiler);
    VECCompilerEnabled = compiler.enabled;
    VECCompilerDirectory = compiler.folder;
    const ToolSetting environment = ReadToolSetting(ToolId::VEnvironment);
    VEnvironmentEnabled = environment.enabled;
    VEnvironmentDirectory = environment.folder;
    const ToolSetting devKit = ReadToolSetting(ToolId::VBDevKit);
    VBDevKitEnabled = devKit.enabled;
    VBDevKitDirectory = devKit.folder;
}

void frmUtils::Form_Load()
{
    GetRegistry();
    picker::Entry{fraVECC, imgVECC, imgVECCDisabled}.setProgramEnabled(VECCompilerEnabled);
    picker::Entry{fraEnvironment, imgEnvironment, imgEnvironmentDisabled}.setProgramEnabled(VEnvironmentEnabled);
    picker::Entry{fraVBDK, imgVBDK, imgVBDKDisabled}.setProgramEnabled(VBDevKitEnabled);
}

void frmUtils::fraVECC_Click()
{
    if (VECCompilerEnabled)
        pick(ToolId::VECCompiler, VECCompilerDirectory);
}

void frmUtils::fraEnvironment_Click()
{
    if (VEnvironmentEnabled)
        pick(ToolId::VEnvironment, VEnvironmentDirectory);
}

void frmUtils::fraVBDK_Click()
{
    if (VBDevKitEnabled)
        pick(ToolId::VBDevKit, VBDevKitDirectory);
}

void frmUtils::pick(ToolId tool, const QString &folder)
{
    PickTool(tool, folder, [this] { close(); });
}

bool frmUtils::PickTool(ToolId tool, const QString &folder, const std::function<void()> &picked)
{
    const ToolDefinition &definition = ToolDefinitionOf(tool);
    // For the VB Dev Kit the highest-numbered installer there is.
    const QString program = NewestProgramIn(folder, definition.programFiles);
    if (program.isEmpty()) {
        msgbox::MsgBox(missingText(tool) + CR + folder, msgbox::vbExclamation, definition.missingTitle);
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
