#pragma once
// Controls placed the classic way: at twip positions on a form's client area.

#include <QPushButton>

#include "Forms.h"

namespace controls {

// Creates a control on `parent` at a twip rectangle.
template <typename Control, typename... Args>
Control *Place(QWidget *parent, int left, int top, int width, int height, Args &&...args)
{
    auto *c = new Control(std::forward<Args>(args)..., parent);
    c->setGeometry(forms::TwipsRect(left, top, width, height));
    return c;
}

// A push button whose caption wraps onto several lines when it is wider than
// the button, as the classic small launcher buttons need. The caption stays
// the button's text (and so its accessible name).
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(const QString &caption, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace controls
