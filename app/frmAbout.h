#pragma once
// The About box: the program's name and version, who made it, and a
// controller picture that lights up under the mouse pointer (and over the OK
// button) and answers a right-click with a thank-you.

#include <QHash>

#include "Forms.h"

class QLabel;
class QPushButton;
namespace controls {
class ImageControl;
}

class frmAbout : public forms::Form {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    controls::ImageControl *imgVBControl;
    controls::ImageControl *imgVBControl2; // hidden: the lit picture
    controls::ImageControl *imgVBControl3; // hidden: the plain picture
    QLabel *lblZandrel;
    QLabel *lblCopyright;
    QLabel *lblNickname;
    QLabel *lblEmail;
    QLabel *lblForUse;
    QLabel *lblIHope;
    QLabel *lblFreeware;
    QLabel *lblThanksTo;
    QPushButton *cmdOK;

    void cmdOK_Click();
    // Over the picture and the OK button the picture is lit ...
    void cmdOK_MouseMove() { showLitPicture(); }
    void imgVBControl_MouseMove() { showLitPicture(); }
    // ... and over the rest of the box it is plain.
    void Form_MouseMove() { showPlainPicture(); }
    void lblZandrel_MouseMove() { showPlainPicture(); }
    void lblCopyright_MouseMove() { showPlainPicture(); }
    void lblNickname_MouseMove() { showPlainPicture(); }
    void lblEmail_MouseMove() { showPlainPicture(); }
    void lblForUse_MouseMove() { showPlainPicture(); }
    void lblIHope_MouseMove() { showPlainPicture(); }
    void lblFreeware_MouseMove() { showPlainPicture(); }
    void lblThanksTo_MouseMove() { showPlainPicture(); }
    // Button as the classic codes give it: 1 left, 2 right, 4 middle.
    void imgVBControl_MouseUp(int Button, int Shift, float X, float Y);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showLitPicture();
    void showPlainPicture();

    QHash<QObject *, void (frmAbout::*)()> m_mouseMoveHandlers;
};
