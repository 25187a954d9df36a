#include "ui/spinedit.h"

#include <QLineEdit>
#include <QToolTip>

#include "core/schema/numformat.h"

SpinEdit::SpinEdit(const QString& field, double minimum, double maximum, QWidget* parent)
    : QDoubleSpinBox(parent), m_field(field) {
    // Enough decimals that a value typed is kept as typed.
    setDecimals(6);
    setRange(minimum, maximum);
    setValue(minimum);
    m_announced = text();
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::announce);
    connect(this, &QDoubleSpinBox::textChanged, this, &SpinEdit::announce);
    connect(lineEdit(), &QLineEdit::inputRejected, this,
            [this] { QToolTip::showText(mapToGlobal(QPoint(0, height())), refusal(), this); });
}

void SpinEdit::announce() {
    const QString now = text();
    if (now == m_announced) return;
    m_announced = now;
    emit Change();
}

void SpinEdit::setText(const QString& text) { lineEdit()->setText(text); }

QString SpinEdit::refusal() const {
    return QStringLiteral(
               "%1 : caractère refusé. Tapez un nombre, avec au plus une virgule ou un "
               "point pour les décimales (par exemple 72,5).")
        .arg(m_field);
}

QValidator::State SpinEdit::validate(QString& input, int&) const {
    // A number, or the start of one (a sign, a point still to be followed by
    // digits); the range is applied by the handler, not while typing.
    const QString t = input.trimmed();
    if (t.isEmpty()) return QValidator::Intermediate;
    if (t.size() > 12) return QValidator::Invalid;
    double v = 0;
    if (NumFormat::LitSaisie(t, &v)) return QValidator::Acceptable;
    return NumFormat::LitSaisie(t + QLatin1Char('0'), &v) ? QValidator::Intermediate : QValidator::Invalid;
}

double SpinEdit::valueFromText(const QString& text) const {
    double v = 0;
    return NumFormat::LitSaisie(text, &v) ? v : 0.0;
}

QString SpinEdit::textFromValue(double value) const { return NumFormat::General(value, locale()); }
