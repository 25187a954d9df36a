#include "core/diagnosis/page1.h"

#include "core/schema/numformat.h"
#include "core/interfaces/surface.h"

namespace {
using T = DailyTotals;
using N = GroupNeeds;

// kcal to kJ, as the pages show it.
constexpr double KjParKcal = 4.18;

// Share of energy (in %) of a family's grams at f kcal per gram, over an energy.
std::optional<long long> PartEnergie(double grams, double kcalPerGram, double energy) {
    return nearestOf(quotient(grams * kcalPerGram * 100.0, energy));
}

}   // namespace

std::optional<long long> PartLipidesRecommandee(const GroupNeeds& n) {
    return PartEnergie(n[N::LipiA] + n[N::LipiV], 9.0, n[N::Energie]);
}

void LibellesPage1(Surface& surface, const DiagLayout& l) {
    surface.setFontStyle(Surface::Regular);
    surface.setTextColour(SurfaceColour::Black);
    const QString leaderA = QStringLiteral(".............:");
    const QString leaderB = QStringLiteral("........:");
    struct Row {
        int row;
        const char16_t* left;
        const char16_t* right;
    };
    static const Row rows[] = {
        {4, u"- Protides (prot. an.).........", u"- protéines animales........."},
        {5, u"- Protides (prot. vég.)........", u"- protéines végétales........."},
        {8, u"- Glucides (sucre).............", u"- sucre............................"},
        {9, u"- Glucides (amidon).........", u"- amidon.........................."},
        {12, u"- Lipides (orig. an.)............", u"- lipides (orig. ani.)........."},
        {13, u"- Lipides (orig. vég.)........", u"- lipides (orig. vég.)........"},
    };
    for (const Row& r : rows) {
        const int y = l.rowY(r.row);
        surface.textOut(l.leaderA(), y, leaderA);
        surface.textOut(l.leftLabelX, y, QString::fromUtf16(r.left));
        surface.textOut(l.leaderB(), y, leaderB);
        surface.textOut(l.rightLabelX, y, QString::fromUtf16(r.right));
    }
    static const char16_t* const acids[] = {u"A.G. saturés.....................",
                                            u"A.G. mono-insaturés........", u"A.G. poly-insaturés.........."};
    for (int i = 0; i < 3; ++i) {
        const int y = l.rowY(16 + i);
        surface.textOut(l.leaderA(), y, leaderA);
        surface.textOut(l.leftLabelX, y, QString::fromUtf16(acids[i]));
        surface.textOut(l.x(370), y, QStringLiteral("soit"));
        surface.textOut(l.x(440), y, QStringLiteral(" % des acides-gras."));
    }
}

void BesoinsPage1(Surface& surface, const DiagLayout& l, const GroupNeeds& n) {
    surface.setTextColour(SurfaceColour::Blue);
    const double e = n[N::Energie];
    surface.textOut(l.x(500), l.rowY(0), fixedOrDash(e, 4, 0) + QStringLiteral(" kcal/jour"));
    surface.textOut(l.x(500), l.rowY(1), fixedOrDash(e * KjParKcal, 4, 0) + QStringLiteral(" kj/jour"));

    const struct {
        int row;
        N::Slot slot;
    } grams[] = {{4, N::ProtA}, {5, N::ProtV}, {8, N::Sucre}, {9, N::Amidon}, {12, N::LipiA}, {13, N::LipiV}};
    for (const auto& g : grams)
        EcritValeur(surface, 4, 0, QStringLiteral(" g"), l.rowY(g.row), l.needsRight, n[g.slot]);

    const int x = l.rightLabelX + 10;
    auto ideal = [&](int row, std::optional<long long> q) {
        surface.textOut(x, l.rowY(row),
                        QStringLiteral("(proportion idéale = ") + intOrDash(q, 3) + QStringLiteral(" %)"));
    };
    ideal(6, PartEnergie(n[N::ProtA] + n[N::ProtV], 4.0, e));
    ideal(10, PartEnergie(n[N::Sucre] + n[N::Amidon], 4.0, e));
    ideal(14, PartLipidesRecommandee(n));
}

void ApportsPage1(Surface& surface, const DiagLayout& l, const DailyTotals& t) {
    surface.setTextColour(SurfaceColour::Blue);
    const double c = t[T::CALORIES];
    const int xKcal = l.sectionX + l.x(80);
    surface.textOut(xKcal, l.rowY(0), fixedOrDash(c, 4, 0) + QStringLiteral(" kcal"));
    surface.textOut(xKcal, l.rowY(1), fixedOrDash(c * KjParKcal, 4, 0) + QStringLiteral(" kj"));

    const struct {
        int row;
        T::Slot slot;
    } grams[] = {{4, T::PROT_A}, {5, T::PROT_V},  {8, T::GLUC_S},
                 {9, T::GLUC_A}, {12, T::LIPI_A}, {13, T::LIPI_V}};
    for (const auto& g : grams)
        EcritValeur(surface, 7, 2, QStringLiteral(" g"), l.rowY(g.row), l.intakeRight, t[g.slot]);

    // The energy of each family uses the 4/4/9 factors on its grams, and its
    // share is taken from that rounded figure over the CALORIES total.
    const int x = l.leftLabelX + 10;
    auto environ = [&](int row, double grams, double kcalPerGram) {
        const std::optional<long long> k = nearestOf(grams * kcalPerGram);
        std::optional<long long> p;
        if (k) p = nearestOf(quotient(static_cast<double>(*k) * 100.0, c));
        surface.textOut(x, l.rowY(row),
                        QStringLiteral("(environ ") + intOrDash(k, 4) + QStringLiteral(" kcalories, soit ") +
                            intOrDash(p, 3) + QStringLiteral(" %)"));
    };
    environ(6, t[T::PROT_A] + t[T::PROT_V], 4.0);
    environ(10, t[T::GLUC_S] + t[T::GLUC_A], 4.0);
    environ(14, t[T::LIPI_A] + t[T::LIPI_V], 9.0);

    const T::Slot acids[] = {T::A_G_SAT, T::A_G_MONO, T::A_G_POLY};
    const double sum = t[T::A_G_SAT] + t[T::A_G_MONO] + t[T::A_G_POLY];
    for (int i = 0; i < 3; ++i) {
        const int y = l.rowY(16 + i);
        const double grams = t[acids[i]];
        EcritValeur(surface, 7, 2, QStringLiteral(" g"), y, l.intakeRight, grams);
        EcritValeur(surface, 6, 2, QString(), y, l.x(435), quotient(grams * 100.0, sum));
    }
}

QStringList conseils(const DailyTotals& t, const GroupNeeds& n) {
    QStringList out;
    // Only when both the recommended share and the intake share have a value.
    const std::optional<long long> qL = PartLipidesRecommandee(n);
    const std::optional<double> part = quotient((t[T::LIPI_A] + t[T::LIPI_V]) * 900.0, t[T::CALORIES]);
    if (qL && part && static_cast<double>(*qL) < *part)
        out << QStringLiteral("Attention ! le pourcentage de ration calorique des lipides dépasse ") +
                   NumFormat::Int(*qL, 3) + QStringLiteral(" %");
    auto need = [&](N::Slot s) { return fixedOrDash(n[s], 4, 0); };
    if (t[T::PROT_A] < n[N::ProtA])
        out << QStringLiteral("Vous ne consommez pas assez de protéines animales (min. rec. ") +
                   need(N::ProtA) + QStringLiteral(" g/jour)");
    if (t[T::PROT_V] < n[N::ProtV])
        out << QStringLiteral("Vous ne consommez pas assez de protéines végétales (min. rec. ") +
                   need(N::ProtV) + QStringLiteral(" g/jour)");
    if (t[T::LIPI_A] > n[N::LipiA])
        out << QStringLiteral("Vous consommez trop de lipides d'orig. anim. (max. rec. ") + need(N::LipiA) +
                   QStringLiteral(" g/jour)");
    if (t[T::GLUC_S] > n[N::Sucre])
        out << QStringLiteral("Vous consommez trop de sucre (maximum recommandé ") + need(N::Sucre) +
                   QStringLiteral(" g/jour)");
    if (t[T::GLUC_A] < n[N::Amidon])
        out << QStringLiteral("Vous ne consommez pas assez d'amidon (minimum recommandé ") + need(N::Amidon) +
                   QStringLiteral(" g/jour)");
    return out;
}

int ConseilsPage1(Surface& surface, const DiagLayout& l, const DailyTotals& t, const GroupNeeds& n) {
    const QStringList sentences = conseils(t, n);
    surface.setTextColour(SurfaceColour::Red);
    for (int i = 0; i < sentences.size(); ++i) surface.textOut(l.leftLabelX, l.rowY(20 + i), sentences[i]);
    return static_cast<int>(sentences.size());
}

int dessinePage1(Surface& surface, const DiagLayout& layout, const DiagnosisData& data) {
    EnTeteBilan(surface, layout, data, 1);
    LibellesPage1(surface, layout);
    BesoinsPage1(surface, layout, data.needs);
    ApportsPage1(surface, layout, data.totals);
    return ConseilsPage1(surface, layout, data.totals, data.needs);
}
