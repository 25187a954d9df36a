#include "ui/desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QKeyEvent>
#include <QUrl>

#include "ui/help.h"
#include "core/io/runcontext.h"

namespace {

// Catches F1 anywhere in the application and opens the topic of the focused
// widget's window.
class F1Filter : public QObject {
public:
    F1Filter(Desktop& desktop) : QObject(&desktop), m_desktop(desktop) {}
    bool eventFilter(QObject* obj, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            QWidget* w = QApplication::focusWidget();
            if (!w) w = QApplication::activeModalWidget();
            if (!w) w = QApplication::activeWindow();
            if (!w) w = qobject_cast<QWidget*>(obj);
            const int context = Help::contextForF1(w);
            m_desktop.showHelp(context < 0 ? 0 : context);
            return true;
        }
        return QObject::eventFilter(obj, event);
    }

private:
    Desktop& m_desktop;
};

}   // namespace

Desktop::Desktop(RunContext& run, QObject* parent) : QObject(parent), m_run(run), m_printers(run) {}

Desktop::~Desktop() = default;

int Desktop::run(QDialog& dialog) { return dialog.exec(); }

void Desktop::openUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

void Desktop::showHelp(int context) {
    m_lastHelp = context;
    if (m_viewer) m_viewer(context);
}

void Desktop::installF1Handler() {
    if (m_f1Filter || !qApp) return;
    m_f1Filter = new F1Filter(*this);
    qApp->installEventFilter(m_f1Filter);
}
