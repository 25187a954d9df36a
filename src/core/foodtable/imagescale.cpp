#include "core/foodtable/imagescale.h"

namespace ImageScale {

int mulDiv(int a, int b, int c) {
    if (c == 0) return 0;
    const long long n = static_cast<long long>(a) * b;
    const long long half = (c < 0 ? -static_cast<long long>(c) : c) / 2;
    const bool negative = (n < 0) != (c < 0);
    const long long an = n < 0 ? -n : n, ac = c < 0 ? -static_cast<long long>(c) : c;
    const long long q = (an + half) / ac;
    return static_cast<int>(negative ? -q : q);
}

QSize proportionnelle(QSize image, QSize printerDpi, QSize screenDpi) {
    return QSize(mulDiv(image.width(), printerDpi.width(), screenDpi.width()),
                 mulDiv(image.height(), printerDpi.height(), screenDpi.height()));
}

QSize pleinePage(QSize image, QSize page) {
    const int wide = mulDiv(image.width(), page.height(), image.height());
    if (wide < page.width()) return QSize(wide, page.height());
    return QSize(page.width(), mulDiv(image.height(), page.width(), image.width()));
}

}   // namespace ImageScale
