#include "support/ui/scripteddesktop.h"

#include <QDialog>

#include "ui/modalwindow.h"

int ScriptedDesktop::run(QDialog& dialog) {
    ran << &dialog;
    if (!onRun) return Desktop::run(dialog);
    auto* window = qobject_cast<ModalWindow*>(&dialog);
    dialog.setResult(QDialog::Rejected);
    if (!prepares) window = nullptr;
    if (window && !window->prepare()) return QDialog::Rejected;
    onRun(dialog);
    if (window && window->isShowing()) window->done(dialog.result());
    return dialog.result();
}
