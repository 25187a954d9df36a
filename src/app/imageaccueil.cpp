#include "app/imageaccueil.h"

#include <QImageReader>

#include "ui/icons.h"

QPixmap imageAccueil() {
    // Read at exactly the window's size, whatever the screen's density: the
    // label that shows it has that size.
    QImageReader reader(Icons::picture(QStringLiteral("accueil.svg")));
    reader.setScaledSize(QSize(295, 223));
    return QPixmap::fromImage(reader.read());
}
