#pragma once
// The printed size of a window's image: either kept in inches (proportional)
// or stretched to the page (fit to page). Every product over a quotient is
// computed in whole numbers and rounded to the nearest, halves away from zero.
#include <QSize>

namespace ImageScale {
// a × b ÷ c rounded to the nearest whole number (0 when c is 0).
int mulDiv(int a, int b, int c);
// Each dimension × printer dots per inch ÷ screen dots per inch of the window.
QSize proportionnelle(QSize image, QSize printerDpi, QSize screenDpi);
// Width = image width × page height ÷ image height; when that is narrower than
// the page, the height is the page's; otherwise the width is the page's and
// the height = image height × page width ÷ image width.
QSize pleinePage(QSize image, QSize page);
}
