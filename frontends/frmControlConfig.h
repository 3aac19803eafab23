#pragma once
// The key configuration dialog: one button per controller input, captioned
// with the key that the emulator uses for it, over a drawing of the
// controller. Its opener puts the emulator's name in the Tag mailbox, and the
// name stays there as the dialog's mode until the dialog closes:
// "Reality Boy" shows that emulator's fixed keys and its other keys;
// "Virtual-E" edits the keys that Virtual-E keeps in the registry;
// "Red Dragon" edits the Red Dragon window's hand-over list of key indices,
// which the dialog rewrites only on OK.

#include <QString>
#include <array>

#include "ControllerKeys.h"
#include "Forms.h"

namespace controls {
class ImageControl;
}
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

class frmControlConfig : public forms::Form {
    Q_OBJECT
public:
    explicit frmControlConfig(QWidget *parent = nullptr);
    // For Red Dragon: `lstControls` is the Red Dragon window's list of 14 key
    // indices, read when the dialog opens and rewritten on OK.
    explicit frmControlConfig(QListWidget &lstControls, QWidget *parent = nullptr);

    // Opens the dialog modally in an emulator's mode, as the emulator
    // window's "Control Configuration..." button does; Red Dragon's passes
    // its key list.
    static void ShowFor(const QString &emulator, QWidget *opener);
    static void ShowForRedDragon(QListWidget &lstControls, QWidget *opener);

    // One key code per slot, in slot order.
    controllerkeys::KeyCodeTable KeyCodes{};

    controls::ImageControl *imgControlConfig;
    QPushButton *cmdAButton;
    QPushButton *cmdBButton;
    QPushButton *cmdLButton;
    QPushButton *cmdRButton;
    QPushButton *cmdLtUp;
    QPushButton *cmdLtDn;
    QPushButton *cmdLtLt;
    QPushButton *cmdLtRt;
    QPushButton *cmdRtUp;
    QPushButton *cmdRtDn;
    QPushButton *cmdRtLt;
    QPushButton *cmdRtRt;
    QPushButton *cmdStart;
    QPushButton *cmdSelect;
    QGroupBox *fraRealityBoy;
    QLabel *lblPrntScr;
    QLabel *lblFlip3D;
    QLabel *lblFrameSkip;
    QLabel *lblQuit;
    QPushButton *cmdDebug;
    QPushButton *cmdOK;
    QPushButton *cmdVirteCancel;
    QPushButton *cmdVirteDefault;
    QPushButton *cmdVirteRevert;
    QPushButton *cmdVirteOK;

    // The button of each slot.
    QPushButton *keyButton(int slot) const { return m_keyButtons[size_t(slot)]; }

    // Sets each key button's caption to its slot's key name.
    void ShowKeyCaptions();

public slots:
    void cmdAButton_Click();
    void cmdBButton_Click();
    void cmdLButton_Click();
    void cmdRButton_Click();
    void cmdLtUp_Click();
    void cmdLtDn_Click();
    void cmdLtLt_Click();
    void cmdLtRt_Click();
    void cmdRtUp_Click();
    void cmdRtDn_Click();
    void cmdRtLt_Click();
    void cmdRtRt_Click();
    void cmdStart_Click();
    void cmdSelect_Click();
    void cmdDebug_Click();
    void cmdOK_Click();
    void cmdVirteCancel_Click();
    void cmdVirteDefault_Click();
    void cmdVirteRevert_Click();
    void cmdVirteOK_Click();

protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;

private:
    void createControls();
    // What every key button does, for its slot.
    void AssignKey(int slot);
    // Asks whether the left or the right one of a Shift, Control or Alt key
    // is meant; the sided code, or 0 when the user left the question.
    int16_t AskKeySide(const QString &keyName);
    // Loads and stores KeyCodes where the mode's emulator keeps them. Each
    // does nothing in another mode.
    void GetAnyRegistry();
    bool SaveAnyRegistry();
    void GetRedDragonKeys();
    void SaveRedDragonKeys();

    std::array<QPushButton *, controllerkeys::kSlotCount> m_keyButtons{};
    QListWidget *m_redDragonKeys = nullptr;
};
