#pragma once
// The ROM database's progress bar: a picture filled from the left in the
// highlight colour up to the drawn percentage, the rest in the button face.

#include <QWidget>

class ProgressPicture : public QWidget {
    Q_OBJECT
public:
    explicit ProgressPicture(QWidget *parent = nullptr);

    int percent() const { return m_percent; }
    // Draws the bar at once; `percent` is 0 to 100.
    void drawBar(int percent);

signals:
    // Every drawing, also of the percentage already shown.
    void drawn(int percent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_percent = 0;
};
