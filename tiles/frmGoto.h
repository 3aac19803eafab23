#pragma once
// The go-to dialog of the tile viewer: the user types a start offset or a
// view width. The typed text stays a clean decimal number within its upper
// bound at every keystroke; Goto applies the lower bound and accepts it,
// Cancel accepts nothing.

#include <QString>

#include <optional>

#include "Forms.h"

namespace controls {
class NumberBox;
}
class QLabel;
class QPushButton;

class frmGoto : public forms::Form {
    Q_OBJECT
public:
    // What is edited ("Offset" or "Width", as the viewer's lblGotoWhat says),
    // its present value, and the image's length, which bounds an offset.
    frmGoto(const QString &gotoWhat, const QString &value, const QString &fileLength, QWidget *parent = nullptr);

    QLabel *lblGoto;
    controls::NumberBox *txtGoto;
    QPushButton *cmdGoto;
    QPushButton *cmdCancel;

    // The text Goto accepted, to be the viewer's offset or width; nothing
    // after Cancel.
    std::optional<QString> accepted() const { return m_accepted; }

public slots:
    void txtGoto_Change();
    void cmdGoto_Click();
    void cmdCancel_Click();

protected:
    void Form_Load() override;

private:
    bool editsWidth() const;
    bool editsOffset() const;

    QString m_gotoWhat;
    QString m_value;
    QString m_fileLength;
    std::optional<QString> m_accepted;
};
