#pragma once
// A Desktop for window tests: every dialog run is recorded, and a test that
// gives a script (onRun) answers the dialogs without a modal loop. A
// ModalWindow is prepared first, as Desktop::run prepares it; the script
// looks at it, types, clicks or sets its result; a window the script left
// open is then closed with the result it holds. A test of the window that
// opens others may only record them, unprepared (prepares = false). Without a script, dialogs
// run for real (a test drives them from a timer). Links are recorded, never
// opened.
#include <QList>
#include <QPointer>
#include <QUrl>
#include <functional>

#include "ui/desktop.h"

class ScriptedDesktop : public Desktop {
    Q_OBJECT
public:
    explicit ScriptedDesktop(RunContext& run) : Desktop(run) {}

    std::function<void(QDialog&)> onRun;
    bool prepares = true;
    QList<QPointer<QDialog>> ran;   // every dialog run, in order
    QList<QUrl> opened;             // every link opened, in order

    int run(QDialog& dialog) override;
    void openUrl(const QUrl& url) override { opened << url; }
};
