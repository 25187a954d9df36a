#include "core/diagnosis/needs.h"

#include "core/table/table.h"

const QString SuffixeBilan = QStringLiteral(" : bilan de la ration journalière");
const QString ColonneParDefaut = QStringLiteral("E_2_ANS");

const QVector<PopulationGroup>& populationGroups() {
    static const QVector<PopulationGroup> groups = {
        {"Enfantde2ans1", QStringLiteral("Enfant de 2 ans"), QStringLiteral("E_2_ANS")},
        {"Enfantde5ans1", QStringLiteral("Enfant de 5 ans"), QStringLiteral("E_5_ANS")},
        {"Enfantde8ans1", QStringLiteral("Enfant de 8 ans"), QStringLiteral("E_8_ANS")},
        {"Fillede11ans1", QStringLiteral("Fille de 11 ans"), QStringLiteral("F_11_ANS")},
        {"Garonde11ans1", QStringLiteral("Garçon de 11 ans"), QStringLiteral("G_11_ANS")},
        {"Fillede13ans1", QStringLiteral("Fille de 13 ans"), QStringLiteral("F_13_ANS")},
        {"Garonde13ans1", QStringLiteral("Garçon de 13 ans"), QStringLiteral("G_13_ANS")},
        {"Fillede17ans1", QStringLiteral("Fille de 17 ans"), QStringLiteral("F_17_ANS")},
        {"Garonde17ans1", QStringLiteral("Garçon de 17 ans"), QStringLiteral("G_17_ANS")},
        {"Femmesdentaire1", QStringLiteral("Femme sédentaire"), QStringLiteral("F_SEDENT")},
        {"Hommesdentaire1", QStringLiteral("Homme sédentaire"), QStringLiteral("H_SEDENT")},
        {"Femmeenceinte1", QStringLiteral("Femme enceinte"), QStringLiteral("F_ENCEINTE")},
        {"Femmeallaitante1", QStringLiteral("Femme allaitante"), QStringLiteral("F_ALLETANT")},
        {"Femmeactive1", QStringLiteral("Femme active"), QStringLiteral("F_FORCE")},
        {"Hommeactif1", QStringLiteral("Homme actif"), QStringLiteral("H_FORCE")},
        {"Femmeagee1", QStringLiteral("Femme âgée"), QStringLiteral("F_VIEILLAR")},
        {"Hommeage1", QStringLiteral("Homme âgé"), QStringLiteral("H_VIEILLAR")},
    };
    return groups;
}

int GroupNeeds::rowOf(Slot s) {
    // Row 1 is energy; rows 3-6 the next four slots; rows 8-29 the rest.
    if (s == Energie) return 1;
    if (s <= LipiV) return static_cast<int>(s) + 2;
    return static_cast<int>(s) + 3;
}

bool UpperLimits::any() const {
    for (double x : v)
        if (x > 0) return true;
    return false;
}

QString NomGroupe(const QString& caption) {
    const int n = caption.size() - SuffixeBilan.size();
    return n > 0 ? caption.left(n) : QString();
}

void ChoixColonne(const QString& groupName, QString& groupColumn) {
    for (const PopulationGroup& g : populationGroups()) {
        if (groupName == g.caption) {
            groupColumn = g.column;
            return;
        }
    }
}

QString colonneDuGroupe(const QString& groupName) {
    QString column = ColonneParDefaut;
    ChoixColonne(groupName, column);
    return column;
}

void LitBesoins(Table& tbesoins, const QString& groupColumn, GroupNeeds& needs) {
    tbesoins.first();
    int slot = GroupNeeds::Energie;
    needs.v[slot++] = tbesoins.asFloat(groupColumn);
    for (int row = 2; row <= 29; ++row) {
        tbesoins.next();
        if (row == 2 || row == 7) continue;
        needs.v[slot++] = tbesoins.asFloat(groupColumn);
    }
}
