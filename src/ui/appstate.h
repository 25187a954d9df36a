#pragma once
// Program-wide state set by the main window and read by the shared windows,
// and the long-lived windows, so that one window can show another.
#include <QString>

struct DailyTotals;
class Table;
class TFcompose;
class TFvoir;
class TFouvrir;
class TFdiagnost;
class QWidget;

struct AppState {
    QString dataDir;                 // recorded when the main window is created
    DailyTotals* totals = nullptr;   // allocated by the main window for the run
    bool ModeCompose = false;        // composition window: composite mode when true
    bool ModeEnregistrer = false;    // open/save dialog: saving when true
    bool FirstPaint = false;         // set at start-up, cleared by the diagnosis window

    // The long-lived windows, created at start-up in this order.
    QWidget* Fdiet = nullptr;
    TFcompose* Fcompose = nullptr;
    TFvoir* Fvoir = nullptr;
    TFouvrir* Fouvrir = nullptr;
    TFdiagnost* Fdiagnost = nullptr;
    // The composition window's Choice table handle, which the diagnosis opens,
    // sums and closes again.
    Table* Tchoix = nullptr;
};

AppState& appState();
