#include "ui/qtprompter.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QWidget* parentWidget() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) w = QApplication::activeWindow();
    return w;
}

QMessageBox::Icon iconOf(Prompter::Kind kind) {
    switch (kind) {
    case Prompter::Kind::Information:
        return QMessageBox::Information;
    case Prompter::Kind::Confirmation:
        return QMessageBox::Question;
    case Prompter::Kind::Warning:
        return QMessageBox::Warning;
    case Prompter::Kind::Error:
        return QMessageBox::Critical;
    case Prompter::Kind::Plain:
        return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

// Messages separate their lines with a carriage return (character 13), which a
// Qt label does not break on.
QString displayed(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QString titleOf(Prompter::Kind kind) {
    switch (kind) {
    case Prompter::Kind::Information:
        return QStringLiteral("Information");
    case Prompter::Kind::Confirmation:
        return QStringLiteral("Confirmation");
    case Prompter::Kind::Warning:
        return QStringLiteral("Avertissement");
    case Prompter::Kind::Error:
        return QStringLiteral("Erreur");
    case Prompter::Kind::Plain:
        return QStringLiteral("Nutrimo");
    }
    return QStringLiteral("Nutrimo");
}

// A question with two buttons; true for the first. Enter presses the default
// button, Escape the second.
bool question(Prompter::Kind kind, const QString& text, const QString& yesText, const QString& noText,
              Prompter::Default byDefault = Prompter::Default::Yes) {
    QMessageBox box(iconOf(kind), titleOf(kind), displayed(text), QMessageBox::NoButton, parentWidget());
    QPushButton* yes = box.addButton(yesText, QMessageBox::YesRole);
    QPushButton* no = box.addButton(noText, QMessageBox::NoRole);
    box.setDefaultButton(byDefault == Prompter::Default::No ? no : yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

}   // namespace

void QtPrompter::message(Kind kind, const QString& text) {
    QMessageBox box(iconOf(kind), titleOf(kind), displayed(text), QMessageBox::NoButton, parentWidget());
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool QtPrompter::ask(Kind kind, const QString& text, Default byDefault) {
    return question(kind, text, QStringLiteral("&Oui"), QStringLiteral("&Non"), byDefault);
}

bool QtPrompter::confirm(Kind kind, const QString& text, Default byDefault) {
    return question(kind, text, QStringLiteral("OK"), QStringLiteral("Annuler"), byDefault);
}

std::optional<QString> QtPrompter::input(const QString& title, const QString& prompt, const QString& initial) {
    QInputDialog dialog(parentWidget());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annuler"));
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}
