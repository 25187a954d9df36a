// nutrimo-message: shows one French message in a window, for the launcher.
// Started from the desktop menu, the launcher has no terminal where a failure
// could be read; it calls this with the text when there is a display. It is a
// program of its own so that Nutrimo itself keeps no command-line options; it
// uses the program's own message box, in French, with Qt's French texts.
#include <QStringList>

#include "app/application.h"
#include "core/interfaces/prompter.h"

int main(int argc, char** argv) {
    NutrimoApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) return 2;
    app.prompter().message(Prompter::Kind::Error, args.at(1));
    return 0;
}
