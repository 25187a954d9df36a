#include "ui/glyphs.h"

#include "ui/icons.h"

namespace {
// The glyph "glyphe-<name>.svg" for an enabled button and
// "glyphe-<name>-grise.svg" for a disabled one, checked or not (the page
// buttons stay down while their page is shown).
QIcon twoStates(const QString& name) {
    const QString base = QStringLiteral("glyphe-") + name;
    const QString normal = Icons::picture(base + QStringLiteral(".svg"));
    const QString greyed = Icons::picture(base + QStringLiteral("-grise.svg"));
    QIcon icon;
    for (QIcon::State state : {QIcon::Off, QIcon::On}) {
        icon.addFile(normal, QSize(), QIcon::Normal, state);
        icon.addFile(greyed, QSize(), QIcon::Disabled, state);
    }
    return icon;
}
}   // namespace

namespace Glyphs {

QIcon page(int number) {
    if (number < 1 || number > 3) return QIcon();
    return twoStates(QStringLiteral("page%1").arg(number));
}

QIcon print() { return twoStates(QStringLiteral("imprimer")); }

QIcon complete() { return twoStates(QStringLiteral("completer")); }

QIcon exit() { return twoStates(QStringLiteral("sortir")); }

}   // namespace Glyphs
