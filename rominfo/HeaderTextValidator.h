#pragma once
// Lets into a header text box (title, maker code, game ID) only what a header
// byte can hold, so that what the box shows is what Save writes: a typed or
// pasted character it can't hold is dropped. The characters of the header the
// box was filled from stay, whatever they are: they are that header's bytes.

#include <QValidator>

class HeaderTextValidator : public QValidator {
public:
    explicit HeaderTextValidator(QObject *parent) : QValidator(parent) {}

    // The text the box was filled from, whose characters are always let in.
    void setKept(const QString &kept) { m_kept = kept; }

    State validate(QString &input, int &pos) const override;

private:
    QString m_kept;
};
