#pragma once
// The emulator chooser: offers the emulators enabled in the options (the
// others greyed out) and opens the chosen one's front-end in its place once
// the emulator's program is found in its folder.

#include <QString>

#include "FolderSettings.h"
#include "Forms.h"

namespace controls {
class ImageControl;
}
namespace picker {
class PickFrame;
}

class frmEmus : public forms::Form {
    Q_OBJECT
public:
    explicit frmEmus(QWidget *parent = nullptr);

    // Each emulator's enabled and folder settings as the window read them
    // when it loaded.
    ToolSetting RealityBoy;
    ToolSetting VirtualE;
    ToolSetting RedDragon;

    picker::PickFrame *fraRealityBoy;
    controls::ImageControl *imgRealityBoy;
    controls::ImageControl *imgRealityBoyDisabled;
    picker::PickFrame *fraVirtualE;
    controls::ImageControl *imgVirtualE;
    controls::ImageControl *imgVirtualEDisabled;
    picker::PickFrame *fraRedDragon;
    controls::ImageControl *imgRedDragon;
    controls::ImageControl *imgRedDragonDisabled;

    void GetRegistry();

    // Each returns once the front-end it opened has closed.
    void fraRealityBoy_Click();
    void fraVirtualE_Click();
    void fraRedDragon_Click();
    void imgRealityBoy_Click() { fraRealityBoy_Click(); }
    void imgVirtualE_Click() { fraVirtualE_Click(); }
    void imgRedDragon_Click() { fraRedDragon_Click(); }

protected:
    void Form_Load() override;

private:
    // True when the emulator is enabled and its program is in its folder;
    // a missing program is reported.
    static bool canPick(ToolId emulator, const ToolSetting &setting);
    // Closes the chooser and shows the front-end in its place, its
    // emulator's starts running in `folder`.
    template <typename FrontEnd>
    void openFrontEnd(const QString &folder);
};
