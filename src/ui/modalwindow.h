#pragma once
// ModalWindow: the base of every window of the program (dialogs shown
// modally by the main window or by another window).
//
// How a showing goes: exec() runs FormShow() before the window appears, so a
// window that must not appear (FormShow returns false) never flashes on the
// screen; show() runs it as the window appears and closes a refused window
// as soon as the event loop turns. The window is centred on the screen each
// time it appears. However the showing ends (a button, the close box, Escape,
// done(), hide()), FormClose() runs once. closeLater() ends a showing
// from inside a show or paint event, where closing at once would leave a modal
// loop running for a hidden window. The help context given to the constructor
// is the topic F1 opens.
#include <QDialog>
#include <functional>

class ModalWindow : public QDialog {
    Q_OBJECT
public:
    ModalWindow(QWidget* parent, int helpContext);

    // Prepares a showing; false refuses it. The default accepts.
    virtual bool FormShow() { return true; }
    // Ends a showing: closes handles, restores state. Runs once per showing,
    // and must do nothing on a window that is not prepared.
    virtual void FormClose() {}

    int exec() override;
    void done(int result) override;
    // FormShow ran and accepted, and FormClose has not run since.
    bool isShowing() const { return m_showing; }
    // A deferred close is queued.
    bool closePending() const { return m_closePending; }

protected:
    // Closes the window once the event loop turns; `before` runs first (a
    // message to the user). Queued once: further calls before it runs are
    // ignored.
    void closeLater(std::function<void()> before = {});
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool beginShowing();
    void endShowing();
    void centre();

    bool m_showing = false;
    bool m_closePending = false;
};
