#pragma once
// The palette editor: the four shades of the tile palette as red, green and
// blue values typed into twelve boxes, each shade with a preview and a
// Revert. Apply writes the twelve settings and closes; Cancel closes and
// writes nothing. Load fills the boxes from the palette loader, Save writes
// them to a palette file.

#include <QString>

#include <array>
#include <cstdint>

#include "Forms.h"
#include "TilePalette.h"

namespace controls {
class NumberBox;
class PictureBox;
}
class QLabel;
class QPushButton;

class frmPalette : public forms::Form {
    Q_OBJECT
public:
    explicit frmPalette(QWidget *parent = nullptr);

    // The palette read from the store when the window loaded; Revert brings
    // it back. Apply writes the boxes' values into them and then the store.
    int16_t WhiteTileRed = 0, WhiteTileGreen = 0, WhiteTileBlue = 0;
    int16_t LGreyTileRed = 0, LGreyTileGreen = 0, LGreyTileBlue = 0;
    int16_t DGreyTileRed = 0, DGreyTileGreen = 0, DGreyTileBlue = 0;
    int16_t BlackTileRed = 0, BlackTileGreen = 0, BlackTileBlue = 0;
    // Where the Save dialog starts.
    QString BaseDirectory;

    controls::NumberBox *txtCol1R, *txtCol1G, *txtCol1B;
    controls::NumberBox *txtCol2R, *txtCol2G, *txtCol2B;
    controls::NumberBox *txtCol3R, *txtCol3G, *txtCol3B;
    controls::NumberBox *txtCol4R, *txtCol4G, *txtCol4B;
    QLabel *lblCol1R, *lblCol1G, *lblCol1B;
    QLabel *lblCol2R, *lblCol2G, *lblCol2B;
    QLabel *lblCol3R, *lblCol3G, *lblCol3B;
    QLabel *lblCol4R, *lblCol4G, *lblCol4B;
    controls::PictureBox *picCol1Preview, *picCol2Preview, *picCol3Preview, *picCol4Preview;
    QPushButton *cmdCol1Revert, *cmdCol2Revert, *cmdCol3Revert, *cmdCol4Revert;
    QPushButton *cmdLoad;
    QPushButton *cmdSave;
    QPushButton *cmdApply;
    QPushButton *cmdCancel;

    // The twelve boxes in palette order (txtCol1R ... txtCol4B).
    std::array<controls::NumberBox *, tilepalette::kValueCount> paletteBoxes() const;

    void GetRegistry();
    void SaveRegistry();

public slots:
    // The change rule of each box: bounds 0 to 255, then the preview.
    void txtCol1R_Change();
    void txtCol1G_Change();
    void txtCol1B_Change();
    void txtCol2R_Change();
    void txtCol2G_Change();
    void txtCol2B_Change();
    void txtCol3R_Change();
    void txtCol3G_Change();
    void txtCol3B_Change();
    void txtCol4R_Change();
    void txtCol4G_Change();
    void txtCol4B_Change();
    void cmdCol1Revert_Click();
    void cmdCol2Revert_Click();
    void cmdCol3Revert_Click();
    void cmdCol4Revert_Click();
    void cmdLoad_Click();
    void cmdSave_Click();
    void cmdApply_Click();
    void cmdCancel_Click();

protected:
    void Form_Load() override;

private:
    void createControls();
    void keepWithinBounds(int box);
    void showPreview(int shade);
    void setPreview(int shade, const tilepalette::Values &values);
    void revert(int shade);
    // The boxes' values: each box's number as a byte, an empty box 0.
    tilepalette::Values editedPalette() const;

    std::array<controls::PictureBox *, tilepalette::kShadeCount> m_previews{};
};
