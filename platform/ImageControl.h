#pragma once
// Pictures drawn in code and the image control that shows one: the program's
// painted widgets. A picture is drawn afresh at the screen's pixel density,
// so it stays sharp on high-DPI screens.

#include <QPixmap>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>

class QPainter;

namespace controls {

// A named drawing of a fixed logical size. Pictures with the same name are
// the same picture, so controls and tests can tell which one is shown.
class Picture {
public:
    // Paints the picture in logical pixels, (0, 0) to size().
    using Drawing = std::function<void(QPainter &)>;

    Picture() = default;
    Picture(QString name, QSize size, Drawing drawing);

    bool isNull() const { return !m_drawing; }
    const QString &name() const { return m_name; }
    QSize size() const { return m_size; }

    // The picture as a pixmap with `devicePixelRatio` device pixels to a
    // logical pixel; transparent where the drawing leaves it empty.
    QPixmap render(qreal devicePixelRatio) const;

    bool operator==(const Picture &other) const { return m_name == other.m_name; }

private:
    QString m_name;
    QSize m_size;
    Drawing m_drawing;
};

// An image control: shows its picture stretched to its rectangle, reports a
// left click (press and release inside) and every mouse move over it. With
// keyboard focus, Space or Enter clicks it as well.
class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(QWidget *parent = nullptr);

    const Picture &picture() const { return m_picture; }
    // Repaints only when the picture changes.
    void setPicture(const Picture &picture);
    // Shown in place of the picture while the control is disabled.
    void setDisabledPicture(const Picture &picture);
    // What the control paints now.
    const Picture &shownPicture() const;

signals:
    void clicked();
    // The mouse moved over the control, or the Tab key brought focus to it.
    void hovered();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    Picture m_picture;
    Picture m_disabledPicture;
    bool m_pressed = false;
    // The last rendering, kept while picture and pixel density stay the same.
    QPixmap m_rendered;
    QString m_renderedName;
    qreal m_renderedRatio = 0;
};

} // namespace controls
