#include "core/diagnosis/sheet.h"

#include "core/diagnosis/page1.h"
#include "core/diagnosis/page2.h"
#include "core/diagnosis/page3.h"
#include "core/interfaces/surface.h"

int dessineFeuille(Surface& surface, int s, const DiagnosisData& data) {
    DiagLayout layout = DiagLayout::papier(s);
    surface.setFontName(QStringLiteral("Times New Roman"));
    // The title is drawn at the size the surface has when the header starts.
    surface.setFontSize(12);
    EnTeteBilan(surface, layout, data, 1);
    surface.setFontStyle(Surface::Regular);
    LibellesPage1(surface, layout);
    BesoinsPage1(surface, layout, data.needs);
    ApportsPage1(surface, layout, data.totals);
    const int nbConseils = ConseilsPage1(surface, layout, data.totals, data.needs);
    layout.page2Base = nbConseils;
    LibellesPage2(surface, layout);
    ApportsPage2(surface, layout, data);
    BesoinsPage2(surface, layout, data);
    TauxPage2(surface, layout, data);
    BarresPage2(surface, layout, data);
    return nbConseils;
}

void dessineFeuilleJours(Surface& surface, int s, const DiagnosisData& data, int nutriment) {
    const DiagLayout l = DiagLayout::papier(s);
    surface.setFontName(QStringLiteral("Times New Roman"));
    surface.setFontSize(12);
    const int nbJours = static_cast<int>(data.jours.size());
    const int finDiagrammes = rangeeFinDiagrammesPapier(nbJours);
    dessinePage3(surface, l, data, nutriment, l.rowY(finDiagrammes));

    // The list of the days: number, file, date of the file, lines, energy,
    // and what the list of the saved days said of it.
    surface.setFontSize(10);
    surface.setFontStyle(Surface::Bold | Surface::Underline);
    surface.setTextColour(SurfaceColour::Black);
    surface.textOut(l.sectionX, l.rowY(finDiagrammes + 1), QStringLiteral("JOURS :"));
    surface.setFontStyle(Surface::Regular);
    for (int j = 0; j < nbJours; ++j) {
        const SavedDay& d = data.jours[j];
        const int y = l.rowY(finDiagrammes + 2 + j);
        const QString num = QString::number(j + 1);
        surface.textOut(l.x(30) - surface.textWidth(num), y, num);
        surface.textOut(l.x(40), y, fitToWidth(surface, d.name, l.x(105)));
        surface.textOut(l.x(150), y, d.modified.toString(QStringLiteral("dd/MM/yyyy HH:mm")));
        const QString lignes =
            d.lines == 1 ? QStringLiteral("1 ligne") : QStringLiteral("%1 lignes").arg(d.lines);
        surface.textOut(l.x(330) - surface.textWidth(lignes), y, lignes);
        EcritValeur(surface, 1, 0, QStringLiteral(" kcal"), y, l.x(420), d.totals[DailyTotals::CALORIES]);
        if (!d.remark().isEmpty()) surface.textOut(l.x(470), y, d.remark());
    }
}
