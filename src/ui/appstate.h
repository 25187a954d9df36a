#pragma once
// Program-wide state set by the main window and read by the shared windows.
#include <QString>

struct DailyTotals;

struct AppState {
    QString dataDir;                 // recorded when the main window is created
    DailyTotals* totals = nullptr;   // allocated by the main window for the run
    bool ModeCompose = false;        // composition window: composite mode when true
    bool ModeEnregistrer = false;    // open/save dialog: saving when true
    bool FirstPaint = false;         // set at start-up, cleared by the diagnosis window
};

AppState& appState();
