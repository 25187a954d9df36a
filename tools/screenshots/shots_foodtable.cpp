// Screenshots of the Food table windows on the supplied tables: the
// consultation window in name order after a search, its printed image (a PDF
// beside the PNGs, and its first page as a PNG when pdftoppm is there), and
// the editing window with a food being changed and on a new food.
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>

#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "core/session/session.h"
#include "core/table/table.h"
#include "foodtable/consult.h"
#include "foodtable/modif.h"
#include "screenshots.h"
#include "support/scriptedprompter.h"
#include "support/testsupport.h"
#include "ui/printerservice.h"

namespace {
void ensureTables(const QString& dir) {
    if (!QFileInfo::exists(QDir(dir).filePath(foodSchema().fileName))) Fixtures::writeSmallFoodTable(dir);
    if (!QFileInfo::exists(QDir(dir).filePath(compositeSchema().fileName)))
        DbfFile::create(QDir(dir).filePath(compositeSchema().fileName), compositeSchema().fields);
}
}   // namespace

NUTRIMO_SHOT(foodtable, [](Shots::Shot& shot, const Shots::SaveFn& save) {
    const QString& dir = shot.dir;
    ensureTables(dir);
    Session& session = shot.session;
    {
        TFconsult w(session, shot.desktop);
        if (!w.prepare()) return;
        {
            ScriptedPrompter p(shot.session.run());
            p.answer(QStringLiteral("Pomme"));
            w.SBchercherClick();
        }
        save(&w, QStringLiteral("consult"));
        // The printed image, in the large size.
        const QString pdf = QDir(Shots::outputDir()).absoluteFilePath(QStringLiteral("consult-impression.pdf"));
        shot.desktop.printers().setPdfOutput(pdf);
        shot.desktop.onRun = [](QDialog& d) { d.setResult(QDialog::Accepted); };
        {
            ScriptedPrompter p(shot.session.run());
            p.answer(true);
            w.SBimprimerClick();
        }
        shot.desktop.printers().setPdfOutput(QString());
        QProcess::execute(
            QStringLiteral("pdftoppm"),
            {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-singlefile"),
             pdf, QDir(Shots::outputDir()).absoluteFilePath(QStringLiteral("consult-impression"))});
        w.close();
    }
    {
        TFmodif w(session);
        if (!w.prepare()) return;
        w.navigue(TableNavigator::Next);
        w.edit(QStringLiteral("PROT_A"))->setFocus();
        w.edit(QStringLiteral("PROT_A"))->setText(QStringLiteral("12.5"));
        w.editeur().ecritTexte(QStringLiteral("PROT_A"), QStringLiteral("12.5"));
        save(&w, QStringLiteral("modif"));
        w.navigue(TableNavigator::Cancel);
        w.navigue(TableNavigator::Insert);
        save(&w, QStringLiteral("modif-nouveau"));
        w.close();
    }
});
