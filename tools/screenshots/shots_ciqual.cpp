// Screenshots of the name search of the composition window (a few words
// typed, the matches listed), of the window "Aliments CIQUAL 2020" (a food
// found and shown with its values, then several selected) and of the
// consultation window on a food added from it, which names its CIQUAL code.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include "compose/compose.h"
#include "core/ciqual/ciqualcatalogue.h"
#include "core/session/session.h"
#include "core/table/table.h"
#include "foodtable/ciqual.h"
#include "foodtable/consult.h"
#include "screenshots.h"
#include "ui/namesearch.h"

namespace {
const QString kCiqual = QStringLiteral(NUTRIMO_TABLES_DIR "/CIQUAL.DBF");
}

NUTRIMO_SHOT(compose_recherche, [](Shots::Shot& shot, const Shots::SaveFn& save) {
    TFcompose w(shot.session, shot.desktop);
    if (!w.FormShow()) return;
    w.show();
    w.searchAction->trigger();
    QTest::keyClicks(w.nameSearch->box(), QStringLiteral("poulet roti"));
    QTest::keyClick(w.nameSearch->box(), Qt::Key_Down);
    save(&w, QStringLiteral("compose_recherche"));
    // Return: the food grid and the category box follow the match.
    QTest::keyClick(w.nameSearch->box(), Qt::Key_Return);
    save(&w, QStringLiteral("compose_recherche_choisi"));
    w.close();
});

NUTRIMO_SHOT(ciqual, [](Shots::Shot& shot, const Shots::SaveFn& save) {
    // The boxes are the shot's script, which prints them.
    TFciqual w(shot.session.run(), kCiqual);
    if (!w.FormShow()) return;
    save(&w, QStringLiteral("ciqual_liste"));
    QTest::keyClicks(w.nameSearch->box(), QStringLiteral("pomme crue"));
    save(&w, QStringLiteral("ciqual"));
    // Three foods at once, added to the table.
    QTest::keyClick(w.nameSearch->box(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(w.nameSearch->box(), Qt::Key_Down, Qt::ShiftModifier);
    save(&w, QStringLiteral("ciqual_selection"));
    // Alt+A presses "Ajouter à la table" as a click does, after a short delay.
    QApplication::setActiveWindow(&w);
    QTest::keyClick(&w, Qt::Key_A, Qt::AltModifier);
    QTest::qWait(400);
    save(&w, QStringLiteral("ciqual_ajoute"));
    w.close();

    // The consultation window on the last food added.
    TFconsult c(shot.session, shot.desktop);
    if (!c.FormShow()) return;
    c.Taliments().last();
    save(&c, QStringLiteral("consult_origine"));
    c.close();
});
