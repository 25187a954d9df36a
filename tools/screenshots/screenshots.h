#pragma once
// Screenshots of every window, for people to look at: each area registers
// its shots; the program renders them offscreen into PNG files.
#include <QString>
#include <functional>

class QWidget;

namespace Shots {
// dataDir: a fresh Data directory filled with the supplied tables (or test
// fixtures) and already made the Data directory; save(widget, name) writes
// <name>.png into the output directory.
using SaveFn = std::function<void(QWidget*, const QString&)>;
using ShotFn = std::function<void(const QString& dataDir, const SaveFn& save)>;
bool add(const char* name, ShotFn fn);
// The absolute directory the PNG files go to (for shots that write other files).
QString outputDir();
}

#define NUTRIMO_SHOT(name, fn) static const bool shot_registered_##name = Shots::add(#name, fn)
