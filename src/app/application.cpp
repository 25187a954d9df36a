#include "app/application.h"

#include "ui/errorhandler.h"
#include "ui/qtprompter.h"

NutrimoApplication::NutrimoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Nutrimo"));
    QtPrompter::installAsDefault();
}

bool NutrimoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ErrorHandler::showCurrent();
        return false;
    }
}
