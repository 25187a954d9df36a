// Screenshots of "Compléter la ration": a three-food day of an active woman
// completed with five foods, then the same for a vegetarian (meat, offal,
// fish and seafood unticked), at 5 and at 8 foods.
#include <QCoreApplication>
#include <QListWidget>
#include <QSpinBox>

#include "core/needs/efsareference.h"
#include "core/schema/schema.h"
#include "core/session/session.h"
#include "core/suggest/completiondata.h"
#include "screenshots.h"
#include "suggest/completer.h"

namespace {
// The day's choice: bread, chicken and an apple.
void threeFoods(RunContext& run) {
    CompletionRequest r;
    r.foods = CompletionData::readFoods(run);
    QVector<ProposedLine> lines;
    for (const auto& [name, grams] :
         {qMakePair(QStringLiteral("Pain, baguette"), 120), qMakePair(QStringLiteral("Poulet, rôti"), 150),
          qMakePair(QStringLiteral("Pomme"), 150)})
        for (int i = 0; i < r.foods.size(); ++i)
            if (r.foods[i].name == name) lines << ProposedLine{i, grams};
    CompletionData::addToDay(run, r, lines);
}

void shoot(Shots::Shot& shot, const Shots::SaveFn& save, bool vegetarian, int foods, const QString& name) {
    threeFoods(shot.session.run());
    if (vegetarian) {
        Exclusions e;
        for (int c = 0; c < 4; ++c) e.categories.insert(categories()[c]);
        CompletionData::writeExclusions(shot.session.run(), e);
    }
    Session& session = shot.session;
    // EFSA's values where the program finds them, beside it in the build tree.
    const EfsaReference efsa(EfsaReference::locate(QCoreApplication::applicationDirPath()));
    TFcompleter w(session, efsa);
    w.setGroup(QStringLiteral("Femme active"), true);
    w.SEnombre->setValue(foods);
    save(&w, name);   // showing reads the tables and proposes
}
}   // namespace

NUTRIMO_SHOT(completer, [](Shots::Shot& shot, const Shots::SaveFn& save) {
    shoot(shot, save, false, 5, QStringLiteral("completer"));
});
NUTRIMO_SHOT(completer_vegetarien, [](Shots::Shot& shot, const Shots::SaveFn& save) {
    shoot(shot, save, true, 8, QStringLiteral("completer-vegetarien-8"));
});
