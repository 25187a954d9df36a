// A sheet of every button picture, for people to check them at a glance: each
// icon at the size its button shows, enabled and disabled, and three times
// larger; then the application icon and the main window's picture.
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QWidget>
#include <vector>

#include "app/imageaccueil.h"
#include "ui/glyphs.h"
#include "screenshots.h"
#include "ui/icons.h"

namespace {
struct Entry {
    const char* name;
    QIcon icon;
    int size;
};

QLabel* picture(const QPixmap& pm, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setPixmap(pm);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

void sheet(Shots::Shot&, const Shots::SaveFn& save) {
    const std::vector<Entry> entries = {
        {"sortir", Icons::sortir(), 32},           {"ajouter", Icons::ajouter(), 32},
        {"supprimer", Icons::supprimer(), 32},     {"modifier", Icons::modifier(), 32},
        {"effacer", Icons::effacer(), 32},         {"consulter", Icons::consulter(), 32},
        {"imprimer", Icons::imprimer(), 32},       {"renommer", Icons::renommer(), 32},
        {"application", Icons::application(), 32}, {"page 1", Glyphs::page(1), 16},
        {"page 2", Glyphs::page(2), 16},           {"imprimer (diag.)", Glyphs::print(), 16},
        {"sortir (diag.)", Glyphs::exit(), 16},
    };
    QWidget w;
    w.setStyleSheet(QStringLiteral("background: white;"));
    auto* grid = new QGridLayout(&w);
    const char* heads[] = {"", "normal", "grisé", "normal ×3", "grisé ×3"};
    for (int c = 0; c < 5; ++c) grid->addWidget(new QLabel(QString::fromUtf8(heads[c]), &w), 0, c);
    int row = 1;
    for (const Entry& e : entries) {
        const QSize s(e.size, e.size);
        grid->addWidget(new QLabel(QString::fromUtf8(e.name), &w), row, 0);
        grid->addWidget(picture(e.icon.pixmap(s), &w), row, 1);
        grid->addWidget(picture(e.icon.pixmap(s, QIcon::Disabled), &w), row, 2);
        grid->addWidget(picture(e.icon.pixmap(s * 3), &w), row, 3);
        grid->addWidget(picture(e.icon.pixmap(s * 3, QIcon::Disabled), &w), row, 4);
        ++row;
    }
    grid->addWidget(picture(imageAccueil(), &w), 0, 5, row, 1, Qt::AlignTop);
    save(&w, QStringLiteral("pictures"));
}
}   // namespace

NUTRIMO_SHOT(pictures, sheet);
