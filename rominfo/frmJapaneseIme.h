#pragma once
// The ROM title editor: a soft keyboard of the 63 half-width katakana for
// users whose keyboard can't type them. It edits the caption of the title
// label it is given and writes it back only on OK.

#include <array>

#include "Forms.h"

namespace controls {
class ChangeLabel;
}
class QLineEdit;
class QPushButton;

class frmJapaneseIme : public forms::Form {
    Q_OBJECT
public:
    static constexpr int kKanaCount = 63;

    // `romTitle` is the ROM information window's title label.
    explicit frmJapaneseIme(controls::ChangeLabel &romTitle, QWidget *parent = nullptr);

    QLineEdit *txtRomTitle;
    std::array<QPushButton *, kKanaCount> cmdKatakana{};
    QPushButton *cmdOK;
    QPushButton *cmdCancel;

    // The header byte that kana button `index` inserts.
    static uchar KanaByte(int index);

public slots:
    void cmdKatakana_Click(int index);
    void txtRomTitle_Change();
    void txtRomTitle_GotFocus();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void Form_Load() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createKanaButtons();

    controls::ChangeLabel &m_romTitle;
};
