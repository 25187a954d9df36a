#pragma once
// ModalWindow: the base of every window of the program (dialogs shown
// modally by the main window or by another window).
//
// How a showing goes, always the same way: prepare() runs FormShow() before
// the window appears, so a window that must not appear (FormShow returns
// false, having told the user why) never flashes on the screen; exec() is
// prepare() then the modal loop, and Desktop::run() runs every dialog so.
// However the showing ends (a button, the close box, Escape, done(),
// hide()), FormClose() runs once, and only for a prepared showing. A window
// shown with show() (screenshots, tests looking at a window) is prepared as
// it appears, and a refused one is closed as soon as the event loop turns.
// The window is centred on the screen each time it appears. The help context
// given to the constructor is the topic F1 opens.
#include <QDialog>

class ModalWindow : public QDialog {
    Q_OBJECT
public:
    ModalWindow(QWidget* parent, int helpContext);

    // Prepares a showing; false refuses it. The default accepts.
    virtual bool FormShow() { return true; }
    // Ends a showing: closes handles, restores state. Runs once per showing,
    // and must do nothing on a window that is not prepared.
    virtual void FormClose() {}

    // Runs FormShow() once for this showing (true at once when the window is
    // already prepared); false when it refused.
    bool prepare();
    int exec() override;
    void done(int result) override;
    // FormShow ran and accepted, and FormClose has not run since.
    bool isShowing() const { return m_showing; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void endShowing();
    void centre();

    bool m_showing = false;
};
