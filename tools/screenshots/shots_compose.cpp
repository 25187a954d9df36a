// Screenshots of the composition window with a few chosen foods, the detail
// view, the composite-food name dialog (with and without composites yet) and
// the composition window in composite mode. The window is driven through its
// own commands, with the prompts answered by a script.
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include "compose/compose.h"
#include "compose/creadlg.h"
#include "core/compose/dailytotals.h"
#include "compose/voir.h"
#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "core/table/table.h"
#include "screenshots.h"
#include "core/session/session.h"
#include "support/scriptedprompter.h"

namespace {
// The supplied tables, or a few foods of our own when they are not built.
void ensureTables(const QString& dir) {
    const QDir d(dir);
    if (!QFileInfo::exists(d.filePath(QStringLiteral("choix0.dbf"))))
        DbfFile::create(d.filePath(QStringLiteral("choix0.dbf")), choiceSchema().fields);
    if (!QFileInfo::exists(d.filePath(choiceSchema().fileName)))
        DbfFile::create(d.filePath(choiceSchema().fileName), choiceSchema().fields);
    if (!QFileInfo::exists(d.filePath(compositeSchema().fileName)))
        DbfFile::create(d.filePath(compositeSchema().fileName), compositeSchema().fields);
    if (QFileInfo::exists(d.filePath(foodSchema().fileName))) return;
    DbfFile::create(d.filePath(foodSchema().fileName), foodSchema().fields);
    RunContext run{DataDirectory(dir)};
    Table t(run, foodSchema());
    t.open();
    const struct {
        const char* nom;
        int cat;
        double pa, pv, la, lv, gs, ga;
    } foods[] = {{"Poulet, rôti", 0, 27, 0, 8, 0, 0, 0},     {"Boeuf, steak grillé", 0, 26, 0, 8, 0, 0, 0},
                 {"Agneau, gigot", 0, 25, 0, 12, 0, 0, 0},   {"Jambon cuit", 1, 18, 0, 4, 0, 1, 0},
                 {"Yaourt nature", 4, 4, 0, 1, 0, 5, 0},     {"Beurre doux", 5, 1, 0, 82, 0, 1, 0},
                 {"Pain de campagne", 6, 0, 9, 0, 1, 3, 50}, {"Haricots verts cuits", 7, 0, 2, 0, 0.2, 2, 2},
                 {"Pomme", 9, 0, 0.3, 0, 0.2, 11, 0.5},      {"Orange", 9, 0, 1, 0, 0.2, 8, 0}};
    int n = 0;
    for (const auto& f : foods) {
        t.append();
        t.setFloat(QStringLiteral("NUMERO"), ++n);
        t.setString(QStringLiteral("NOM"), QString::fromUtf8(f.nom));
        t.setString(QStringLiteral("CATEGORIE"), categories()[f.cat]);
        t.setFloat(QStringLiteral("PROT_A"), f.pa);
        t.setFloat(QStringLiteral("PROT_V"), f.pv);
        t.setFloat(QStringLiteral("LIPI_A"), f.la);
        t.setFloat(QStringLiteral("LIPI_V"), f.lv);
        t.setFloat(QStringLiteral("GLUC_S"), f.gs);
        t.setFloat(QStringLiteral("GLUC_A"), f.ga);
        t.setFloat(QStringLiteral("CA"), 12.5 * n);
        t.setFloat(QStringLiteral("FE"), 0.4 * n);
        t.post();
    }
}

// Adds the first food of the category whose name starts with the text (or the
// category's first food) with a quantity, through the window's own command.
void add(TFcompose& w, int category, const char* start, const char* grams) {
    w.CBcategorie->setCurrentIndex(category);
    Table& t = w.Talim();
    for (t.first(); !t.eof(); t.next())
        if (t.asString(QStringLiteral("NOM")).startsWith(QString::fromUtf8(start), Qt::CaseInsensitive)) break;
    if (t.eof()) t.first();
    ScriptedPrompter p(t.run());
    p.answer(QString::fromLatin1(grams));
    w.SBajouterClick();
}

void fillDay(TFcompose& w) {
    add(w, 6, "Pain", "150");
    add(w, 4, "Lait", "250");
    add(w, 0, "Poulet", "120");
    add(w, 7, "Haricot", "150");
    add(w, 9, "Pomme", "150");
    add(w, 5, "Beurre", "15");
}

}   // namespace

NUTRIMO_SHOT(compose, [](Shots::Shot& shot, const Shots::SaveFn& save) {
    const QString& dir = shot.dir;
    ensureTables(dir);
    TFcompose w(shot.session, shot.desktop);
    TFvoir& voir = *w.Fvoir();
    if (!w.prepare()) return;
    fillDay(w);
    w.CBcategorie->setCurrentIndex(0);
    save(&w, QStringLiteral("compose"));
    // The detail view of the selected food, opened by the window's command.
    w.Talim().first();
    QTimer::singleShot(0, &voir, [&] {
        save(&voir, QStringLiteral("voir"));
        voir.SBsortirClick();
    });
    w.SBconsulterClick();
    w.close();
});

NUTRIMO_SHOT(composite, [](Shots::Shot& shot, const Shots::SaveFn& save) {
    const QString& dir = shot.dir;
    ensureTables(dir);
    TFcompose w(shot.session, shot.desktop);
    shot.session.ModeCompose = true;
    {
        // The name dialog before any composite exists: the plain box.
        w.Talim().open();
        w.TalimCompo().open();
        Table& compo = w.TalimCompo();
        compo.first();
        if (compo.asString(QStringLiteral("NOM_COMPO")).isEmpty()) {
            TFCreadlg d(w.Talim(), w.TalimCompo());
            d.show();
            d.setText(QStringLiteral("Salade compos"));
            save(&d, QStringLiteral("creadlg_vide"));
            d.AnnulerButtonClick();
        }
        w.Talim().close();
        w.TalimCompo().close();
    }
    // A new composite, saved.
    shot.desktop.onRun = [](QDialog& d) {
        auto& dialog = static_cast<TFCreadlg&>(d);
        dialog.setText(QStringLiteral("Salade d'été"));
        dialog.OKButtonClick();
    };
    if (!w.prepare()) return;
    add(w, 7, "Haricot", "200");
    add(w, 7, "Tomate", "150");
    add(w, 8, "Pomme de terre", "250");
    add(w, 2, "Thon", "80");
    add(w, 5, "Huile d'olive", "20");
    {
        ScriptedPrompter p(shot.session.run());
        p.answer(true);
        w.SBsortirClick();
    }
    // The name dialog with the list of composites, opened.
    w.Talim().open();
    w.TalimCompo().open();
    {
        TFCreadlg d(w.Talim(), w.TalimCompo());
        d.show();
        d.setText(QStringLiteral("Salade d'été"));
        save(&d, QStringLiteral("creadlg"));
        d.AnnulerButtonClick();
    }
    w.Talim().close();
    w.TalimCompo().close();
    // Reopened for modification: the composition window in composite mode.
    if (!w.prepare()) return;
    w.CBcategorie->setCurrentIndex(7);
    save(&w, QStringLiteral("compose_compose"));
    w.close();
});

// Whole values: the detail view of a composite with a 30-character name and
// values of many decimals, and the totals strip with six-digit totals.
NUTRIMO_SHOT(compose_valeurs, [](Shots::Shot& shot, const Shots::SaveFn& save) {
    const QString& dir = shot.dir;
    ensureTables(dir);
    {
        Table t(shot.session.run(), foodSchema());
        t.open();
        t.append();
        t.setFloat(QStringLiteral("NUMERO"), 9000);
        t.setString(QStringLiteral("NOM"), QStringLiteral("Gratin dauphinois de la grand-"));
        t.setString(QStringLiteral("CATEGORIE"), CategorieComposee);
        double v = 9.879167;
        for (const Nutrient& n : nutrients()) {
            t.setFloat(QString::fromLatin1(n.field), v);
            v = v * 2.3 + 0.000213;
            if (v > 9999) v = 0.004167;
        }
        t.post();
        t.close();
        // A day of large lines: totals of six digits in the strip.
        Table c(shot.session.run(), choiceSchema());
        c.open();
        for (double q : {123456.0, 234567.0}) {
            c.append();
            c.setString(QStringLiteral("NOM"), QStringLiteral("Cabillaud, cuit à la vapeur"));
            c.setFloat(QStringLiteral("QTE"), q);
            for (const QString& f : lineComputedFields()) c.setFloat(f, q * 1.07);
            c.post();
        }
        c.close();
    }
    TFcompose w(shot.session, shot.desktop);
    TFvoir& voir = *w.Fvoir();
    if (!w.prepare()) return;
    w.CBcategorie->setCurrentIndex(categories().indexOf(CategorieComposee));
    w.Talim().locate(QStringLiteral("NOM"), QStringLiteral("Gratin dauphinois de la grand-"));
    save(&w, QStringLiteral("compose_grands_totaux"));
    QTimer::singleShot(0, &voir, [&] {
        save(&voir, QStringLiteral("voir_compose"));
        voir.SBsortirClick();
    });
    w.SBconsulterClick();
    w.close();
});
