#include "core/interfaces/prompter.h"

#include <QtDebug>

void LogPrompter::message(Kind, const QString& text) { qWarning().noquote() << text; }

bool LogPrompter::ask(Kind, const QString& text, Default) {
    qWarning().noquote() << text << "-> Non";
    return false;
}

std::optional<QString> LogPrompter::input(const QString&, const QString& prompt, const QString&) {
    qWarning().noquote() << prompt << "-> Annuler";
    return std::nullopt;
}
