#pragma once
// A label whose caption, set through setCaption, announces each change, as
// the classic label's Change event does: setting the caption it already has
// announces nothing.

#include <QLabel>

class ChangeLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    QString caption() const { return text(); }
    void setCaption(const QString &caption);

signals:
    void captionChanged();
};
