#include "ui/icons.h"

// The pictures are compiled into the ui library, a static library: the linker
// keeps a resource's registration only if something refers to it, so the
// first picture asked for registers them explicitly. Q_INIT_RESOURCE must be
// called from outside any namespace.
static void registerPictures() { Q_INIT_RESOURCE(pictures); }

namespace Icons {

QString picture(const QString& name) {
    static const bool registered = (registerPictures(), true);
    (void)registered;
    return QStringLiteral(":/pictures/") + name;
}

namespace {
// An SVG icon is drawn by Qt SVG's icon engine at whatever size the button
// asks for; the disabled state is Qt's own greyed rendering of it.
QIcon svg(const char* name) { return QIcon(picture(QString::fromLatin1(name) + QStringLiteral(".svg"))); }
}   // namespace

QIcon sortir() { return svg("sortir"); }
QIcon ajouter() { return svg("ajouter"); }
QIcon supprimer() { return svg("supprimer"); }
QIcon modifier() { return svg("modifier"); }
QIcon effacer() { return svg("effacer"); }
QIcon consulter() { return svg("consulter"); }
QIcon imprimer() { return svg("imprimer"); }
QIcon renommer() { return svg("renommer"); }
QIcon application() { return svg("application"); }

}   // namespace Icons
