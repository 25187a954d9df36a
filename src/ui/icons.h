#pragma once
// The program's button pictures. Each is a hand-written SVG file among the
// program's resources (src/ui/pictures), so it scales to any size and screen
// density; a disabled button greys its picture the way Qt greys every icon.
// Each picture says its command at a glance: a door for leaving, a plus for
// adding, a pencil for changing...
#include <QIcon>
#include <QString>

namespace Icons {
QIcon sortir();        // leave: an open door with an arrow
QIcon ajouter();       // add: a green plus
QIcon supprimer();     // remove one: a red minus
QIcon modifier();      // change: a pencil over a line
QIcon effacer();       // clear all: a list struck through
QIcon consulter();     // view in detail: a magnifying glass
QIcon imprimer();      // print: a printer with its sheet
QIcon renommer();      // rename: a text with its caret
QIcon application();   // the program itself: an apple on a plate

// The resource path of the picture file `name` (":/pictures/<name>"), with
// the pictures made available first: every loader of a picture goes through
// here, whatever library it lives in.
QString picture(const QString& name);
}
