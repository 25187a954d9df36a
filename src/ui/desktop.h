#pragma once
// Desktop: what the windows ask of the desktop around them, handed to each
// window that needs it rather than looked up:
//   - running a dialog modally (a ModalWindow through its one path: prepared,
//     then executed, then closed);
//   - opening a link in the user's browser or mail program;
//   - showing a help topic (F1 anywhere, Aide > Index), through the viewer
//     the application gives it;
//   - the printers (PrinterService): the one chosen last, or a PDF file.
// The application makes one for its run; tests make their own, whose run()
// answers the dialogs from a script (tests/support).
#include <QObject>
#include <functional>

#include "ui/printerservice.h"

class QDialog;
class QUrl;
class RunContext;

class Desktop : public QObject {
    Q_OBJECT
public:
    explicit Desktop(RunContext& run, QObject* parent = nullptr);
    ~Desktop() override;

    RunContext& runContext() { return m_run; }
    PrinterService& printers() { return m_printers; }

    // Runs the dialog modally and returns its result (QDialog::Accepted or
    // Rejected). A ModalWindow that refuses to show returns Rejected without
    // appearing.
    virtual int run(QDialog& dialog);
    virtual void openUrl(const QUrl& url);

    // Asks the viewer for a help topic; the last topic asked is kept.
    void showHelp(int context);
    int lastHelpContext() const { return m_lastHelp; }
    // The help viewer (given once by the application; none in most tests).
    void setHelpViewer(std::function<void(int)> viewer) { m_viewer = std::move(viewer); }
    // F1 anywhere in the application shows the focused window's topic, as
    // long as this Desktop lives.
    void installF1Handler();

private:
    RunContext& m_run;
    PrinterService m_printers;
    std::function<void(int)> m_viewer;
    int m_lastHelp = -1;
    QObject* m_f1Filter = nullptr;
};
