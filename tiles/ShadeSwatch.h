#pragma once
// A picture box that shows one shade: the palette editor's previews and the
// tile viewer's swatches. Its colour is its background, as a classic picture
// box's back colour is.

#include <QColor>
#include <QFrame>

class ShadeSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ShadeSwatch(QWidget *parent = nullptr);

    QColor backColor() const { return m_colour; }
    void setBackColor(const QColor &colour);

private:
    QColor m_colour;
};
