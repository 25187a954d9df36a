#include "core/io/errorreport.h"

#include <QString>

#include "core/interfaces/prompter.h"

namespace ErrorReport {

void showCurrent(Prompter& prompter) {
    QString text;
    try {
        throw;
    } catch (const DataError& e) {
        text = e.message();
    } catch (const std::exception& e) {
        text = QString::fromLocal8Bit(e.what());
    } catch (...) {
        text = QStringLiteral("Erreur inattendue.");
    }
    prompter.message(Prompter::Kind::Error, text);
}

}   // namespace ErrorReport
