#pragma once
// Screenshots of every window, for people to look at: each area registers
// its shots; the program renders them offscreen into PNG files.
#include <QString>
#include <functional>

#include "core/session/session.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"

class QWidget;

namespace Shots {
// What one shot works on: a fresh Data directory filled with the supplied
// tables (or test fixtures), the Session of a run on it, the desktop its
// windows run on (dialogs for real unless the shot scripts them), and the
// prompter that answers every box (what they said is printed).
struct Shot {
    explicit Shot(const QString& dataDir)
        : dir(dataDir), session(dataDir), desktop(session.run()), boxes(session.run()) {}
    QString dir;
    Session session;
    ScriptedDesktop desktop;
    ScriptedPrompter boxes;
};
// save(widget, name) writes <name>.png into the output directory.
using SaveFn = std::function<void(QWidget*, const QString&)>;
using ShotFn = std::function<void(Shot& shot, const SaveFn& save)>;
bool add(const char* name, ShotFn fn);
// The absolute directory the PNG files go to (for shots that write other files).
QString outputDir();
}

#define NUTRIMO_SHOT(name, fn) static const bool shot_registered_##name = Shots::add(#name, fn)
