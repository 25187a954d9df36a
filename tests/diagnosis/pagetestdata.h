#pragma once
// For the page tests: a day and a group whose baseline satisfies every need,
// so that no advice sentence is drawn unless a test changes something, and
// the helpers that find and check the texts drawn on a recording surface.
#include <QTest>

#include <algorithm>

#include "core/diagnosis/drawing.h"
#include "support/recordingsurface.h"

namespace PageTest {
inline DiagnosisData baseline() {
    DiagnosisData d;
    d.groupName = QStringLiteral("Femme active");
    GroupNeeds& n = d.needs;
    n[GroupNeeds::Energie] = 2000;
    n[GroupNeeds::ProtA] = 50;
    n[GroupNeeds::ProtV] = 40;
    n[GroupNeeds::LipiA] = 40;
    n[GroupNeeds::LipiV] = 37.7778;   // qL = Nearest(77.7778 x 900 / 2000) = 35
    n[GroupNeeds::Sucre] = 60;
    n[GroupNeeds::Amidon] = 200;
    for (int s = GroupNeeds::Calcium; s < GroupNeeds::Count; ++s) n.v[s] = 10.0 * s;
    DailyTotals& t = d.totals;
    t[DailyTotals::QTE] = 1500;
    t[DailyTotals::PROT_A] = 60;
    t[DailyTotals::PROT_V] = 45;
    t[DailyTotals::GLUC_S] = 50;
    t[DailyTotals::GLUC_A] = 220;
    t[DailyTotals::LIPI_A] = 30;
    t[DailyTotals::LIPI_V] = 30;
    t[DailyTotals::CALORIES] = 4 * 105 + 4 * 270 + 9 * 60;   // 2040, a 26 % lipid share
    t[DailyTotals::A_G_SAT] = 20;
    t[DailyTotals::A_G_MONO] = 25;
    t[DailyTotals::A_G_POLY] = 10;
    return d;
}

// The text ops drawn on a row (y) of a layout.
inline QList<RecordingSurface::Op> onRow(const RecordingSurface& s, int y) {
    QList<RecordingSurface::Op> out;
    for (const auto& op : s.texts())
        if (op.y == y) out << op;
    return out;
}

// The text op drawn on a row (y) with exactly that text, or nullptr.
inline const RecordingSurface::Op* textOnRow(const RecordingSurface& s, int y, const QString& text) {
    for (const auto& op : s.ops)
        if (op.kind == RecordingSurface::Op::Text && op.y == y && op.text == text) return &op;
    return nullptr;
}

// The position in the drawing order of the first text op with that text, or -1.
inline int indexOf(const RecordingSurface& s, const QString& text) {
    for (int i = 0; i < s.ops.size(); ++i)
        if (s.ops[i].kind == RecordingSurface::Op::Text && s.ops[i].text == text) return i;
    return -1;
}

// How many text ops satisfy the predicate.
template <class Pred>
int countTexts(const RecordingSurface& s, Pred pred) {
    const QList<RecordingSurface::Op> t = s.texts();
    return static_cast<int>(std::count_if(t.begin(), t.end(), pred));
}

// Checks that no text shows an infinite or undefined number.
inline void noInfNan(const RecordingSurface& s) {
    for (const auto& op : s.texts()) {
        QVERIFY2(!op.text.contains(QLatin1String("inf")), qPrintable(op.text));
        QVERIFY2(!op.text.contains(QLatin1String("nan")), qPrintable(op.text));
    }
}
}   // namespace PageTest
