#include "ui/modalwindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include "ui/help.h"
#include "ui/qtprompter.h"

ModalWindow::ModalWindow(QWidget* parent, int helpContext) : QDialog(parent) {
    QtPrompter::installAsDefault();
    if (helpContext >= 0) Help::setContext(this, helpContext);
}

bool ModalWindow::beginShowing() {
    if (m_showing) return true;
    m_closePending = false;
    m_showing = FormShow();
    return m_showing;
}

void ModalWindow::endShowing() {
    if (!m_showing) return;
    m_showing = false;
    FormClose();
}

int ModalWindow::exec() {
    if (!beginShowing()) return QDialog::Rejected;
    return QDialog::exec();
}

void ModalWindow::done(int result) {
    // FormClose also runs for a window prepared by a direct FormShow call
    // (tests do so); each FormClose is safe to run on a closed window.
    m_showing = false;
    FormClose();
    QDialog::done(result);
}

void ModalWindow::closeLater(std::function<void()> before) {
    if (m_closePending) return;
    m_closePending = true;
    QTimer::singleShot(0, this, [this, before] {
        m_closePending = false;
        if (before) before();
        if (isVisible()) {
            reject();
        } else {
            m_showing = false;
            FormClose();
        }
    });
}

void ModalWindow::centre() {
    QScreen* s = screen();
    if (!s) s = QGuiApplication::primaryScreen();
    if (s) move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void ModalWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    centre();
    // Shown by show() rather than exec(): the showing begins now.
    if (!beginShowing()) closeLater();
}

void ModalWindow::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) endShowing();
}
