#include "ui/errorhandler.h"

#include <QString>

#include "ui/qtprompter.h"

namespace ErrorHandler {

void showCurrent() {
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
    QtPrompter::installAsDefault();
    prompter().message(Prompter::Kind::Error, text);
}

}  // namespace ErrorHandler
