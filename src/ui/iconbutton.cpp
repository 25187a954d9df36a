#include "ui/iconbutton.h"

#include <QStringList>

IconButton::IconButton(const QIcon& icon, const QString& hint, QWidget* parent) : QToolButton(parent) {
    setIcon(icon);
    setIconSize(QSize(28, 28));
    setFixedSize(40, 40);
    setFocusPolicy(Qt::StrongFocus);
    setAutoRaise(false);
    setHint(hint);
}

void IconButton::setHint(const QString& hint, const QKeySequence& key) {
    m_hint = hint;
    setToolTip(bulle(hint, key.isEmpty() ? QList<QKeySequence>() : QList<QKeySequence>{key}));
    setAccessibleName(hint);
    setStatusTip(hint);
}

QString IconButton::hint() const { return m_hint; }

QString IconButton::bulle(const QString& hint, const QList<QKeySequence>& keys) {
    QStringList names;
    for (const QKeySequence& k : keys) names << k.toString(QKeySequence::NativeText);
    return names.isEmpty() ? hint
                           : hint + QStringLiteral(" (") + names.join(QStringLiteral(", ")) + QLatin1Char(')');
}
