#pragma once
// Context help. Each window gives itself a help context number; F1 in any
// window, and Aide > Index (context 0), ask the help viewer for that topic of
// the run's help file "DIETAIDE.HLP" (Desktop::showHelp).

class QAction;
class QWidget;

namespace Help {
// The window's (or control's) help context; F1 walks up from the focused
// widget to the first one that has a context.
void setContext(QWidget* w, int context);
int contextOf(const QWidget* w);   // -1 when none is set on it or its parents
// A menu item's context: F1 while the item is highlighted in an open menu
// shows it (else the menu's own context, else the window's).
void setContext(QAction* a, int context);
int contextOf(const QAction* a);   // -1 when none is set
// The context F1 would show for a widget, looking first at an open menu.
int contextForF1(QWidget* w);
}
