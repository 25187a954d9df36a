#include "ui/help.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWidget>

namespace Help {
namespace {
const char* const kProperty = "nutrimoHelpContext";
}   // namespace

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

}   // namespace Help
