#pragma once
// The picture of the main window: a laid table with a plate of vegetables, an
// apple, bread and a glass of milk, drawn by the program at 295 x 223 pixels.
#include <QPixmap>

QPixmap ImageAccueil();
