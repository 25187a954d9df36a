#include "ui/iconbutton.h"

IconButton::IconButton(const QIcon& icon, const QString& hint, QWidget* parent)
    : QToolButton(parent) {
    setIcon(icon);
    setIconSize(QSize(28, 28));
    setFixedSize(40, 40);
    setFocusPolicy(Qt::StrongFocus);
    setAutoRaise(false);
    setHint(hint);
}

void IconButton::setHint(const QString& hint) {
    setToolTip(hint);
    setAccessibleName(hint);
    setStatusTip(hint);
}

QString IconButton::hint() const { return toolTip(); }
