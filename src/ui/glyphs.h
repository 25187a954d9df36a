#pragma once
// The glyphs of the diagnosis window's speed buttons. Each has two states,
// two SVG files among the program's pictures: the normal image and a greyed
// one (every colour a mid grey, the paper a light grey) for a disabled button.
#include <QIcon>

namespace Glyphs {
QIcon page(int number);   // a sheet with its page number, or the bars of page 3 (any other gives a null icon)
QIcon print();            // a printer with a sheet
QIcon complete();         // a plate with a plus sign: complete the day's ration
QIcon exit();             // a door with an arrow leaving it
}
