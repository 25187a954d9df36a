#include "bmi/spinedit.h"

#include <QLineEdit>

SpinEdit::SpinEdit(int minimum, int maximum, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    setValue(minimum);
    m_announced = text();
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::announce);
    connect(this, &QSpinBox::textChanged, this, &SpinEdit::announce);
}

void SpinEdit::announce() {
    const QString now = text();
    if (now == m_announced) return;
    m_announced = now;
    emit Change();
}

void SpinEdit::setText(const QString& text) { lineEdit()->setText(text); }

QValidator::State SpinEdit::validate(QString& input, int&) const {
    // Digits only, at most nine of them so that the number fits an int; the
    // range is applied by the handler, not while typing.
    const QString t = input.trimmed();
    if (t.isEmpty()) return QValidator::Intermediate;
    if (t.size() > 9) return QValidator::Invalid;
    for (QChar c : t)
        if (!c.isDigit() || c.unicode() > 127) return QValidator::Invalid;
    return QValidator::Acceptable;
}
