#include "Controls.h"

#include <QStyleOptionButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QStylePainter>
#include <QWheelEvent>

#include "VbText.h"

namespace controls {

void ChangeLabel::setCaption(const QString &caption)
{
    if (caption == text())
        return;
    setText(caption);
    emit captionChanged();
}

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
}

void CommandButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRect textArea = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(-2, 0, 2, 0);
    const int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    // The classic buttons are small: step the font down until the caption fits.
    QFont captionFont = font();
    for (qreal size = captionFont.pointSizeF(); size > 5.0; size -= 0.5) {
        captionFont.setPointSizeF(size);
        const QRect needed = QFontMetrics(captionFont).boundingRect(textArea, flags, caption);
        if (needed.height() <= textArea.height() && needed.width() <= textArea.width())
            break;
    }
    painter.setFont(captionFont);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(textArea, flags, caption);
}

namespace {

constexpr qreal kSmallestCaptionPoints = 6.0;

// True when the control shows its whole caption (or has none).
bool captionShows(const QWidget *w)
{
    if (const auto *label = qobject_cast<const QLabel *>(w)) {
        if (label->text().isEmpty())
            return true;
        if (label->wordWrap())
            return label->heightForWidth(label->width()) <= label->height();
        return label->sizeHint().width() <= label->width();
    }
    if (qobject_cast<const QCheckBox *>(w) || qobject_cast<const QRadioButton *>(w))
        return w->sizeHint().width() <= w->width();
    if (const auto *frame = qobject_cast<const QGroupBox *>(w))
        return frame->title().isEmpty() || frame->minimumSizeHint().width() <= frame->width();
    if (qobject_cast<const CommandButton *>(w))
        return true; // it fits its caption itself when it paints
    if (const auto *button = qobject_cast<const QPushButton *>(w)) {
        // A push button's size hint has a style minimum; only its text matters here.
        QString text = button->text();
        text.remove(QLatin1Char('&'));
        return text.isEmpty() || button->fontMetrics().horizontalAdvance(text) + 8 <= button->width();
    }
    return true;
}

} // namespace

void FitCaptions(QWidget *root)
{
    const QList<QWidget *> controls = root->findChildren<QWidget *>();
    const auto anyCaptionCut = [&] {
        return std::any_of(controls.begin(), controls.end(),
                           [](const QWidget *w) { return !captionShows(w); });
    };
    QFont font = root->font();
    while (anyCaptionCut() && font.pointSizeF() > kSmallestCaptionPoints) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        root->setFont(font);
    }
}

// Hands every row the list's common size; a row's own size is measured only
// when the row is written.
class TextRowList::RowDelegate : public QStyledItemDelegate {
public:
    explicit RowDelegate(TextRowList *list) : QStyledItemDelegate(list), m_list(list) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return m_list->m_rowSize.isValid() ? m_list->m_rowSize : measure(option, index);
    }
    QSize measure(const QStyleOptionViewItem &option, const QModelIndex &index) const
    {
        return QStyledItemDelegate::sizeHint(option, index);
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = m_list->shownText(option->text);
    }

private:
    const TextRowList *m_list;
};

TextRowList::TextRowList(QWidget *parent)
    : QListWidget(parent), m_rows(new RowDelegate(this))
{
    // The view then takes one row's size for all, where it would otherwise
    // lay out every row's text again after each change.
    setUniformItemSizes(true);
    setItemDelegate(m_rows);
    connect(model(), &QAbstractItemModel::rowsInserted, &m_rowsHandlers,
            [this](const QModelIndex &, int first, int last) { measureRows(first, last); });
    connect(model(), &QAbstractItemModel::dataChanged, &m_rowsHandlers,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                measureRows(topLeft.row(), bottomRight.row());
            });
    connect(model(), &QAbstractItemModel::modelReset, &m_rowsHandlers, [this] { m_rowSize = QSize(); });
}

QString TextRowList::shownText(const QString &text) const
{
    QString shown = text;
    QChar replacement;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QChar c = shown.at(i);
        if (c.isHighSurrogate() && i + 1 < shown.size() && shown.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c != QChar::ReplacementCharacter && !c.isSurrogate())
            continue;
        if (replacement.isNull()) {
            const QFontMetrics metrics(font());
            const bool glyphFits = metrics.inFont(QChar::ReplacementCharacter) &&
                                   metrics.horizontalAdvance(QChar::ReplacementCharacter) ==
                                       metrics.horizontalAdvance(QLatin1Char('?'));
            replacement = glyphFits ? QChar(QChar::ReplacementCharacter) : QChar(u'?');
        }
        shown[i] = replacement;
    }
    return shown;
}

void TextRowList::measureRows(int first, int last)
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    for (int row = first; row <= last; ++row)
        m_rowSize = m_rowSize.expandedTo(m_rows->measure(option, model()->index(row, 0)));
}

void TextRowList::changeEvent(QEvent *event)
{
    QListWidget::changeEvent(event);
    if (event->type() != QEvent::FontChange && event->type() != QEvent::StyleChange)
        return;
    m_rowSize = QSize();
    if (count() > 0)
        measureRows(0, count() - 1);
    scheduleDelayedItemsLayout();
}

UpwardScrollBar::UpwardScrollBar(QWidget *parent)
    : QScrollBar(Qt::Vertical, parent)
{
    // Qt puts the maximum at the top only by inverting the picture; the
    // arrows and the track still step the other way, so turn those steps round.
    setInvertedAppearance(true);
    // A count the user sets: Tab reaches it like any other control.
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractSlider::actionTriggered, this, &UpwardScrollBar::raiseTowardsTop);
}

void UpwardScrollBar::raiseTowardsTop(int action)
{
    // Called before the step reaches value(), so value() is where it began.
    switch (action) {
    case SliderSingleStepAdd: setSliderPosition(value() - singleStep()); break;
    case SliderSingleStepSub: setSliderPosition(value() + singleStep()); break;
    case SliderPageStepAdd: setSliderPosition(value() - pageStep()); break;
    case SliderPageStepSub: setSliderPosition(value() + pageStep()); break;
    default: break;
    }
}

void UpwardScrollBar::wheelEvent(QWheelEvent *event)
{
    QWheelEvent turned(event->position(), event->globalPosition(), -event->pixelDelta(), -event->angleDelta(),
                       event->buttons(), event->modifiers(), event->phase(), event->inverted(), event->source());
    QScrollBar::wheelEvent(&turned);
    event->setAccepted(turned.isAccepted());
}

NumberBox::NumberBox(QWidget *parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &NumberBox::normalise);
}

double NumberBox::value() const
{
    return vb::Val(text());
}

void NumberBox::setTextAtEnd(const QString &newText)
{
    if (newText == text())
        return;
    setText(newText);
    setCursorPosition(text().size());
}

QString NumberBox::Normalised(const QString &text)
{
    if (text.isEmpty())
        return text;
    const double number = vb::Val(text);
    if (text == vb::Str(number))
        return text;
    return vb::CStr(number);
}

void NumberBox::normalise()
{
    const QString clean = Normalised(text());
    if (clean != text()) {
        // The new text runs this again, and the window's bounds with it.
        setTextAtEnd(clean);
        return;
    }
    // A text that is its plain form but not its signed form ("132" after a
    // "3" typed into "12") stays, but its caret still goes to the end.
    if (!clean.isEmpty() && clean != vb::Str(value()))
        setCursorPosition(clean.size());
    emit numberChanged();
}

} // namespace controls
