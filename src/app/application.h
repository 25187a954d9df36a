#pragma once
// NutrimoApplication: the QApplication of the program. Its notify() is the
// safety net of the standard error handler: an error (DataError or any other
// exception) that escapes an event handler is shown with its own message and
// the event is dropped, so the command stops there and the program goes on.
// Command handlers catch their own errors with ErrorHandler::run; this catches
// what they do not, instead of letting an exception cross Qt's event loop.
// It holds the run's one QtPrompter, made with the application.
#include <QApplication>

#include "ui/qtprompter.h"

class NutrimoApplication : public QApplication {
    Q_OBJECT
public:
    NutrimoApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // The Qt message boxes and prompts, for the run's context.
    QtPrompter& prompter() { return m_prompter; }
    // Escaping errors are shown through the run's prompter once the run
    // exists; until then through the Qt boxes.
    void setErrorPrompter(Prompter* prompter) { m_errors = prompter; }

    // Qt's own texts (print dialog, print preview, context menus of edit
    // boxes, standard buttons) in French, from Qt's French translations;
    // false when they are not installed (Qt's texts then stay English).
    static bool loadQtFrench(QCoreApplication& app);

private:
    QtPrompter m_prompter;
    Prompter* m_errors = nullptr;
};
