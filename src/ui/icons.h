#pragma once
// The program's button pictures, drawn here with QPainter so that they need no
// image files and scale to any size. Each picture says its command at a
// glance: a door for leaving, a plus for adding, a pencil for changing...
#include <QIcon>

namespace Icons {
QIcon sortir();      // leave: an open door with an arrow
QIcon ajouter();     // add: a green plus
QIcon supprimer();   // remove one: a red minus
QIcon modifier();    // change: a pencil over a line
QIcon effacer();     // clear all: a list struck through
QIcon consulter();   // view in detail: a magnifying glass
QIcon imprimer();    // print: a printer with its sheet
QIcon renommer();    // rename: a text with its caret
}
