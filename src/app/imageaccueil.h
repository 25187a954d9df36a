#pragma once
// The picture of the main window: a laid table with a plate of vegetables, an
// apple, bread and a glass of milk, 295 x 223 pixels, from the SVG file
// accueil.svg among the program's pictures.
#include <QPixmap>

QPixmap imageAccueil();
