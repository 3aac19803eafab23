#pragma once
// The palette loader: fills the palette editor's twelve boxes from a palette
// file or from one of the two built-in palettes, then closes. It sets only
// the boxes' texts; each box's own change rule follows.

#include <QString>

#include <array>

#include "Forms.h"
#include "TilePalette.h"

namespace controls {
class NumberBox;
}
class QPushButton;

class frmLoadPal : public forms::Form {
    Q_OBJECT
public:
    // The boxes to fill, in palette order (White red ... Black blue).
    using PaletteBoxes = std::array<controls::NumberBox *, tilepalette::kValueCount>;

    explicit frmLoadPal(const PaletteBoxes &boxes, QWidget *parent = nullptr);

    // Where the open dialog starts.
    QString BaseDirectory;

    QPushButton *cmdLoadCustom;
    QPushButton *cmdRevertRed;
    QPushButton *cmdRevertGrey;
    QPushButton *cmdLoadCancel;

    void GetRegistry();
    // Reads the palette file at `path` into the boxes and closes; a file that
    // is missing, unreadable or not a palette is reported and changes nothing.
    void LoadPaletteFile(const QString &path);

public slots:
    void cmdLoadCustom_Click();
    void cmdRevertRed_Click();
    void cmdRevertGrey_Click();
    void cmdLoadCancel_Click();

protected:
    void Form_Load() override;

private:
    void fillBoxes(const tilepalette::Values &values);

    PaletteBoxes m_boxes;
};
