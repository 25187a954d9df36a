#include "ui/modalwindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include "ui/help.h"

ModalWindow::ModalWindow(QWidget* parent, int helpContext) : QDialog(parent) {
    if (helpContext >= 0) Help::setContext(this, helpContext);
}

bool ModalWindow::prepare() {
    if (m_showing) return true;
    m_showing = FormShow();
    return m_showing;
}

void ModalWindow::endShowing() {
    if (!m_showing) return;
    m_showing = false;
    FormClose();
}

int ModalWindow::exec() {
    if (!prepare()) return QDialog::Rejected;
    return QDialog::exec();
}

void ModalWindow::done(int result) {
    endShowing();
    QDialog::done(result);
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
    // Shown by show() rather than exec(): the showing is prepared now, and a
    // refused one goes once the event loop turns (closing a window inside
    // its own show event would leave it half shown).
    if (!prepare()) QTimer::singleShot(0, this, [this] { QDialog::done(QDialog::Rejected); });
}

void ModalWindow::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) endShowing();
}
