#pragma once
// SpinEdit: a spin box for a decimal number whose arrows stay within its
// range but whose text takes any number while it is typed, so that the
// window's change handler sees "300" and corrects it itself. "," and "." both
// stand for the decimal point, whatever the locale. A keystroke that would
// make the text no number (a second separator, a letter) is refused, and a
// hint naming the field says so at once: the text never changes behind the
// user's back. Change() is emitted at every change of the text, whether
// typed, stepped or set.
#include <QDoubleSpinBox>

class SpinEdit : public QDoubleSpinBox {
    Q_OBJECT
public:
    // field is named in the refusal ("Poids").
    SpinEdit(const QString& field, double minimum, double maximum, QWidget* parent = nullptr);

    // Replaces the text as if it had been typed (the value follows when the
    // text is a number within the range).
    void setText(const QString& text);
    // What the hint says when a keystroke is refused.
    QString refusal() const;

signals:
    void Change();

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    double valueFromText(const QString& text) const override;
    QString textFromValue(double value) const override;

private:
    // Typing changes the line edit's text; setValue() changes it with the
    // line edit's signals blocked and announces it through the spin box's
    // own signal. Both come here; a text is announced once.
    void announce();
    QString m_field;
    QString m_announced;
};
