#pragma once
// The help viewer: shows, by the topic key in the Tag mailbox, a window's
// help text, one of the ROM database's lists, or its own sheet of ROM
// identification codes.

#include "Forms.h"

class QPlainTextEdit;

class frmHelp : public forms::Form {
    Q_OBJECT
public:
    explicit frmHelp(QWidget *parent = nullptr);

    QPlainTextEdit *txtHelp;
    QPlainTextEdit *txtRomDb;

protected:
    void Form_Load() override;
};
