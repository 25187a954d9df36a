#include "app/application.h"

#include "ui/errorhandler.h"

NutrimoApplication::NutrimoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Nutrimo"));
}

bool NutrimoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ErrorHandler::showCurrent();
        return false;
    }
}
