#pragma once
// The developer-tool launcher: starts V-Environment or the newest installer
// of the VB Dev Kit from the folder the options give it; the Virtual-E C
// compiler is only looked for. Tools that are not enabled are greyed out.

#include <QString>

#include <functional>

#include "FolderSettings.h"
#include "Forms.h"

namespace controls {
class ImageControl;
}
namespace picker {
class PickFrame;
}

class frmUtils : public forms::Form {
    Q_OBJECT
public:
    explicit frmUtils(QWidget *parent = nullptr);

    // The pick of a developer tool (VECCompiler, VEnvironment or VBDevKit)
    // whose folder is `folder`, from this window or from elsewhere: a tool
    // missing from its folder, or one that fails to start, is reported and
    // gives false. Otherwise `picked` runs, once the tool has started (for the
    // compiler, before its notice shows), and the result is true.
    static bool PickTool(ToolId tool, const QString &folder, const std::function<void()> &picked = {});

    // Each tool's enabled and folder settings as the window read them when
    // it loaded.
    ToolSetting VECCompiler;
    ToolSetting VEnvironment;
    ToolSetting VBDevKit;

    picker::PickFrame *fraVECC;
    controls::ImageControl *imgVECC;
    controls::ImageControl *imgVECCDisabled;
    picker::PickFrame *fraEnvironment;
    controls::ImageControl *imgEnvironment;
    controls::ImageControl *imgEnvironmentDisabled;
    picker::PickFrame *fraVBDK;
    controls::ImageControl *imgVBDK;
    controls::ImageControl *imgVBDKDisabled;

    void GetRegistry();

    void fraVECC_Click();
    void fraEnvironment_Click();
    void fraVBDK_Click();
    void imgVECC_Click() { fraVECC_Click(); }
    void imgEnvironment_Click() { fraEnvironment_Click(); }
    void imgVBDK_Click() { fraVBDK_Click(); }

protected:
    void Form_Load() override;

private:
    // A pick from this window, of an enabled tool: the launcher closes once
    // the pick worked.
    void pick(ToolId tool, const ToolSetting &setting);
};
