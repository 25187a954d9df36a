#include "core/compose/choicereport.h"

#include <algorithm>
#include <cmath>

#include "core/schema/numformat.h"
#include "core/interfaces/surface.h"
#include "core/table/table.h"

namespace {
// Left edge and width of each column's drawn box, the least room it takes
// (NOM: left edge only).
struct Boite {
    int left;
    int width;
};
const Boite kBoites[LigneListe::NbColonnes] = {{159, 27}, {198, 49}, {255, 49}, {312, 49},
                                               {369, 49}, {426, 49}, {483, 49}, {540, 42}};
const int kNomX = 17;

struct Libelle {
    int x;
    const char16_t* texte;
};
const Libelle kEnTetes[] = {{33, u"Nom"},    {163, u"Qté"},  {215, u"P.A."}, {272, u"P.V."}, {328, u"Suc."},
                            {385, u"Amid."}, {441, u"L.A."}, {498, u"L.V."}, {548, u"Kcal."}};

// A whole number under the mask "0": to the nearest, halves to even, as
// every other whole-number rounding of the program.
QString entier(double v) {
    const long long n = NumFormat::Nearest(v);
    return QString::number(n == 0 ? 0 : n);
}

int px(int reportPixels, double echelle) { return static_cast<int>(std::lround(reportPixels * echelle)); }

// The longest start of a name, with an ellipsis, that is at most `room` wide.
QString coupe(Surface& surface, const QString& nom, int room) {
    if (surface.textWidth(nom) <= room) return nom;
    QString t = nom;
    while (!t.isEmpty() && surface.textWidth(t + QChar(0x2026)) > room) t.chop(1);
    return t.trimmed() + QChar(0x2026);
}

// Room between a name and the quantity's box, in report pixels.
constexpr int kEcartNom = 4;
}   // namespace

const QStringList& champsListe() {
    static const QStringList f = {"QTE",    "PROT_A", "PROT_V", "GLUC_S",
                                  "GLUC_A", "LIPI_A", "LIPI_V", "CALORIES"};
    return f;
}

QVector<LigneListe> lignesListe(Table& tchoix) {
    QVector<LigneListe> out;
    out.reserve(tchoix.recordCount());
    for (tchoix.first(); !tchoix.eof(); tchoix.next()) {
        LigneListe l;
        l.nom = tchoix.asString(QStringLiteral("NOM"));
        for (int c = 0; c < LigneListe::NbColonnes; ++c) l.valeurs[c] = tchoix.asFloat(champsListe()[c]);
        out.push_back(l);
    }
    tchoix.first();
    return out;
}

int Bandes::hauteurPied(int nbLignes) { return Zone - nbLignes * Ligne; }

ChoiceReport::ChoiceReport(QVector<LigneListe> lignes, const QDateTime& quand, const QLocale& locale)
    : m_lignes(std::move(lignes)), m_quand(quand), m_locale(locale) {
    const int n = m_lignes.size();
    if (n == 0) return;
    const int pied = Bandes::hauteurPied(n);
    if (pied > 0) {
        // One page: the footer's height puts its totals right under the rows.
        m_pages.push_back({0, n, true, Bandes::BasDePage - pied});
        return;
    }
    // Several pages: each holds what fits between its head bands and the
    // footer at its foot.
    int premiere = 0;
    bool titre = true;
    while (premiere < n) {
        const int haut = (titre ? Bandes::Titre : 0) + Bandes::Colonnes;
        const int piedY = Bandes::BasDePage - Bandes::PiedDessin;
        const int tient = std::max(1, (piedY - haut) / Bandes::Ligne);
        const int nombre = std::min(tient, n - premiere);
        m_pages.push_back({premiere, nombre, titre, piedY});
        premiere += nombre;
        titre = false;
    }
}

QVector<double> ChoiceReport::sommes(int n) const {
    QVector<double> s(LigneListe::NbColonnes, 0.0);
    for (int i = 0; i < n && i < m_lignes.size(); ++i)
        for (int c = 0; c < LigneListe::NbColonnes; ++c) s[c] += m_lignes[i].valeurs[c];
    return s;
}

QString ChoiceReport::texteLigne(const LigneListe& l, int colonne) const {
    const double v = l.valeurs[colonne];
    if (colonne == LigneListe::QTE) return entier(v);
    if (colonne == LigneListe::CALORIES) return NumFormat::General(v, m_locale);
    return NumFormat::Formatted(v, QStringLiteral("0.000"), m_locale);
}

QString ChoiceReport::texteTotal(const QVector<double>& sommes, int colonne) const {
    const double v = sommes.value(colonne);
    if (colonne == LigneListe::QTE) return NumFormat::General(v, m_locale);
    if (colonne == LigneListe::CALORIES) return entier(v);
    return NumFormat::Formatted(v, QStringLiteral("0.000"), m_locale);
}

ChoiceReport::Colonnes ChoiceReport::colonnes(Surface& surface, double echelle) const {
    // What each column must hold: its widest row, its widest footer (the
    // running sums of every page) and at least its drawn box.
    surface.setFontName(QStringLiteral("Arial"));
    surface.setFontStyle(Surface::Regular);
    surface.setFontSize(10);
    Colonnes c;
    int besoin[LigneListe::NbColonnes];
    for (int k = 0; k < LigneListe::NbColonnes; ++k) besoin[k] = px(kBoites[k].width, echelle);
    for (const LigneListe& l : m_lignes)
        for (int k = 0; k < LigneListe::NbColonnes; ++k)
            besoin[k] = std::max(besoin[k], surface.textWidth(texteLigne(l, k)));
    for (const Page& p : m_pages) {
        const QVector<double> s = sommes(p.premiere + p.nombre);
        for (int k = 0; k < LigneListe::NbColonnes; ++k)
            besoin[k] = std::max(besoin[k], surface.textWidth(texteTotal(s, k)));
    }
    // Each column at its drawn place or pushed right by a wider neighbour,
    // keeping the gaps of the drawing; then, from the right edge of the
    // printable width, pushed back left into the names' room.
    auto ecart = [&](int k) {
        return px(kBoites[k].left - (kBoites[k - 1].left + kBoites[k - 1].width), echelle);
    };
    for (int k = 0; k < LigneListe::NbColonnes; ++k) {
        c.largeur[k] = besoin[k];
        const int auPlusTot = (k == 0 ? px(kBoites[0].left, echelle) : c.droite[k - 1] + ecart(k)) + besoin[k];
        c.droite[k] = std::max(px(kBoites[k].left + kBoites[k].width, echelle), auPlusTot);
    }
    const int dernier = LigneListe::NbColonnes - 1;
    // A name longer than its room moves the columns right, into the page's
    // unused width, before it is cut.
    int nomBesoin = 0;
    for (const LigneListe& l : m_lignes) nomBesoin = std::max(nomBesoin, surface.textWidth(l.nom));
    // The last heading, placed from its column's right edge, may reach past
    // it: the column stops short of the printable width by that much.
    const Boite& b = kBoites[dernier];
    const int bord = px(Bandes::Largeur, echelle) -
                     std::max(0, surface.textWidth(QString::fromUtf16(kEnTetes[dernier + 1].texte)) -
                                     px(b.left + b.width - kEnTetes[dernier + 1].x, echelle));
    const int manque = nomBesoin - (c.droite[0] - c.largeur[0] - px(kEcartNom + kNomX, echelle));
    const int libre = bord - c.droite[dernier];
    if (manque > 0 && libre > 0)
        for (int& d : c.droite) d += std::min(manque, libre);
    c.droite[dernier] = std::min(c.droite[dernier], bord);
    for (int k = dernier - 1; k >= 0; --k)
        c.droite[k] = std::min(c.droite[k], c.droite[k + 1] - c.largeur[k + 1] - ecart(k + 1));
    c.placeNom = c.droite[0] - c.largeur[0] - px(kEcartNom + kNomX, echelle);
    return c;
}

void ChoiceReport::dessinePage(Surface& surface, int index, double echelle) const {
    if (index >= 0 && index < m_pages.size()) dessinePage(surface, index, echelle, colonnes(surface, echelle));
}

void ChoiceReport::dessine(Surface& surface, double echelle, const std::function<void()>& pageSuivante) const {
    const Colonnes col = colonnes(surface, echelle);
    for (int i = 0; i < m_pages.size(); ++i) {
        if (i > 0) pageSuivante();
        dessinePage(surface, i, echelle, col);
    }
}

void ChoiceReport::dessinePage(Surface& surface, int index, double echelle, const Colonnes& col) const {
    const Page& p = m_pages[index];
    auto ecrit = [&](int x, int y, const QString& t) { surface.textOut(px(x, echelle), px(y, echelle), t); };

    surface.setFontName(QStringLiteral("Arial"));
    surface.setFontStyle(Surface::Regular);
    surface.setTextColour(SurfaceColour::Black);
    int y = 0;
    if (p.titre) {
        surface.setFontSize(8);
        ecrit(16, y + 14, m_quand.date().toString(QStringLiteral("dd/MM/yyyy")));
        // The time stands at 681 unless that would run past the printable width.
        const QString heure = m_quand.time().toString(QStringLiteral("HH:mm:ss"));
        surface.textOut(std::min(px(681, echelle), px(Bandes::Largeur, echelle) - surface.textWidth(heure)),
                        px(y + 14, echelle), heure);
        surface.setFontSize(12);
        ecrit(271, y + 10, QStringLiteral("Liste des aliments choisis"));
        y += Bandes::Titre;
    }
    surface.setFontSize(10);
    // Each heading keeps its place from its column's right edge.
    auto ecritDroite = [&](int colonne, int y, const QString& t) {
        surface.textOut(col.droite[colonne] - surface.textWidth(t), px(y, echelle), t);
    };
    ecrit(kEnTetes[0].x, y + 14, QString::fromUtf16(kEnTetes[0].texte));
    for (int k = 0; k < LigneListe::NbColonnes; ++k) {
        const Boite& b = kBoites[k];
        const int x = col.droite[k] - px(b.left + b.width - kEnTetes[k + 1].x, echelle);
        surface.textOut(x, px(y + 14, echelle), QString::fromUtf16(kEnTetes[k + 1].texte));
    }
    y += Bandes::Colonnes;

    for (int i = p.premiere; i < p.premiere + p.nombre; ++i) {
        const LigneListe& l = m_lignes[i];
        const int ty = y + Bandes::DecalageLigne;
        ecrit(kNomX, ty, coupe(surface, l.nom, col.placeNom));
        for (int c = 0; c < LigneListe::NbColonnes; ++c) ecritDroite(c, ty, texteLigne(l, c));
        y += Bandes::Ligne;
    }

    const int ty = p.piedY + Bandes::DecalageLigne;
    const QVector<double> s = sommes(p.premiere + p.nombre);
    ecrit(33, ty, QStringLiteral("Totaux"));
    for (int c = 0; c < LigneListe::NbColonnes; ++c) ecritDroite(c, ty, texteTotal(s, c));
}
