#include "ui/help.h"

#include "core/schema/schema.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace Help {
namespace {
QString g_file = FileNames::aide();
int g_last = -1;
std::function<void(int)> g_viewer;
const char* const kProperty = "nutrimoHelpContext";

// Catches F1 anywhere in the application and opens the topic of the focused
// widget's window.
class F1Filter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* obj, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            QWidget* w = QApplication::focusWidget();
            if (!w) w = QApplication::activeModalWidget();
            if (!w) w = QApplication::activeWindow();
            if (!w) w = qobject_cast<QWidget*>(obj);
            const int context = contextForF1(w);
            showContext(context < 0 ? 0 : context);
            return true;
        }
        return QObject::eventFilter(obj, event);
    }
};
}  // namespace

void setHelpFile(const QString& name) { g_file = name; }
QString helpFile() { return g_file; }

void setContext(QWidget* w, int context) {
    if (w) w->setProperty(kProperty, context);
}

int contextOf(const QWidget* w) {
    for (; w; w = w->parentWidget()) {
        const QVariant v = w->property(kProperty);
        if (v.isValid()) return v.toInt();
    }
    return -1;
}

void setContext(QAction* a, int context) {
    if (a) a->setProperty(kProperty, context);
}

int contextOf(const QAction* a) {
    if (!a) return -1;
    const QVariant v = a->property(kProperty);
    return v.isValid() ? v.toInt() : -1;
}

int contextForF1(QWidget* w) {
    // An open menu takes F1 for its highlighted item, then for the menu itself.
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        int c = contextOf(menu->activeAction());
        if (c < 0) c = contextOf(menu->menuAction());
        if (c < 0) c = contextOf(menu);
        if (c >= 0) return c;
    }
    return contextOf(w);
}

void showContext(int context) {
    g_last = context;
    if (g_viewer) g_viewer(context);
}

int lastContext() { return g_last; }
void setViewer(std::function<void(int)> viewer) { g_viewer = std::move(viewer); }

void installF1Handler() {
    static F1Filter* filter = nullptr;
    if (!filter && qApp) {
        filter = new F1Filter(qApp);
        qApp->installEventFilter(filter);
    }
}

}  // namespace Help
