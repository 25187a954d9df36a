#include "app/application.h"

#include <QLibraryInfo>
#include <QTranslator>

#include "ui/errorhandler.h"

NutrimoApplication::NutrimoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Nutrimo"));
    loadQtFrench(*this);
}

bool NutrimoApplication::loadQtFrench(QCoreApplication& app) {
    // The program speaks French whatever the user's locale, Qt's texts too.
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return app.installTranslator(translator);
}

bool NutrimoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ErrorHandler::showCurrent(m_errors ? *m_errors : m_prompter);
        return false;
    }
}
