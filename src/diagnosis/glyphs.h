#pragma once
// The glyphs of the diagnosis window's speed buttons, drawn by the program
// itself: each has two states, the normal image and a greyed one for a
// disabled button.
#include <QIcon>

namespace Glyphes {
QIcon page(int number);   // a sheet with its page number
QIcon imprimer();         // a printer with a sheet
QIcon sortir();           // a door with an arrow leaving it
}
