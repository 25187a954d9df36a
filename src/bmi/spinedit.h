#pragma once
// SpinEdit: a spin box for a whole number whose arrows stay within its range
// but whose text takes any whole number while it is typed, so that the
// window's change handler sees "300" and corrects it itself. Change() is
// emitted at every change of the text, whether typed, stepped or set.
#include <QSpinBox>

class SpinEdit : public QSpinBox {
    Q_OBJECT
public:
    SpinEdit(int minimum, int maximum, QWidget* parent = nullptr);

    // Replaces the text as if it had been typed (the value follows when the
    // text is a number within the range).
    void setText(const QString& text);

signals:
    void Change();

protected:
    QValidator::State validate(QString& input, int& pos) const override;

private:
    // Typing changes the line edit's text; setValue() changes it with the
    // line edit's signals blocked and announces it through the spin box's
    // own signal. Both come here; a text is announced once.
    void announce();
    QString m_announced;
};
