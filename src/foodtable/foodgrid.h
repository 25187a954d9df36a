#pragma once
// The arrangement of the Food table's fields shared by the consultation and
// editing windows: five rows of boxes, each under its label, with the display
// format of each field. The editing window labels the nutrients with their
// field names, sets row 2 at its own left edges and has no energy box.
#include <QVector>

#include "ui/fieldgrid.h"

namespace FoodGrid {
// The 33 fields in the table's order, then EditKCAL (the calculated energy).
QVector<FieldCell> consultation();
// The 33 fields in the table's order.
QVector<FieldCell> modification();
// The display format of a Food table field in these windows ("" = general).
QString format(const QString& field);
}
