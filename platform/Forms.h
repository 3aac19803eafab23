#pragma once
// Window services of the classic form model on Qt: twips, a form base class
// with its menu bar and fixed client area, modal showing with a test seam,
// and letting pending events run.

#include <QAbstractButton>
#include <QDialog>
#include <QPointer>
#include <QRect>
#include <functional>

class QMenuBar;
class QVBoxLayout;

namespace forms {

constexpr int kTwipsPerPixel = 15;
constexpr int Px(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }
constexpr int Twips(int pixels) { return pixels * kTwipsPerPixel; }
inline QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

// Screen size in twips (primary screen).
int ScreenWidthTwips();
int ScreenHeightTwips();

// Lets pending window events run once.
void DoEvents();

// The wait cursor over the whole program for as long as the object lives.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// A window of the program: controls live on client() at twip positions, an
// optional menu bar sits above it. Form_Load runs once, before the window is
// first shown; closing the window runs Form_Unload, which may cancel.
class Form : public QDialog {
    Q_OBJECT
public:
    explicit Form(QWidget *parent = nullptr);

    QString Tag;

    QWidget *client() const { return m_client; }
    QMenuBar *menuBar();
    // Fixed client size (below the menu bar).
    void setClientSizeTwips(int width, int height);

    // Runs Form_Load the first time; later calls do nothing.
    void load();
    bool isLoaded() const { return m_loaded; }
    // True once a close of the window went through (Form_Unload did not cancel).
    bool isUnloaded() const { return m_unloaded; }

    // Centres the window on its screen.
    void centre();

    // The button that Escape presses (a dialog's Cancel). Without one, Escape
    // does nothing unless the form is closed by Escape.
    void setCancelButton(QAbstractButton *button) { m_cancelButton = button; }
    // Escape closes the form (a viewer with no Cancel button).
    void setClosedByEscape(bool closed) { m_closedByEscape = closed; }
    // No button of the form is its default: Enter presses only a button that
    // has the focus. Call once the form's buttons exist.
    void setNoDefaultButton();

protected:
    virtual void Form_Load() {}
    // Set cancel to true to keep the window open.
    virtual void Form_Unload(bool &cancel) { (void)cancel; }

    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QVBoxLayout *m_layout;
    QWidget *m_client;
    QMenuBar *m_menuBar = nullptr;
    QPointer<QAbstractButton> m_cancelButton;
    bool m_closedByEscape = false;
    bool m_loaded = false;
    bool m_unloaded = false;
};

// Moves a shown window so that its frame, as it is now, stands in the middle
// of `over` (a window), or of its screen when there is none.
void CentreWindow(QWidget &window, const QWidget *over = nullptr);

// Loads the form, shows it modally and returns when it is closed.
void ShowModal(Form &form);

// Tests replace the modal loop: the handler gets the loaded form and plays
// the user; when it returns the form is closed if still open. An empty
// function restores real modal showing.
using ModalHandler = std::function<void(Form &)>;
void SetModalHandler(ModalHandler handler);

} // namespace forms
