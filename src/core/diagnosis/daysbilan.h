#pragma once
// The bilan of several saved days: pages 1 and 2 drawn as for one day from
// the mean of the days' Daily totals, with the marks of every day carried
// over (a rate is marked when any chosen day's rests on an unmeasured value).
#include <QVector>

#include "core/diagnosis/drawing.h"

// The mean of the days' totals, slot by slot (each sum in extended precision).
DailyTotals moyenneDesTotaux(const QVector<SavedDay>& jours);
// The unmeasured values of the days together: a slot is marked when any day
// lacks it; each food lacking a value counts once, whatever the number of
// days it was chosen on.
NonMesures nonMesuresDesJours(const QVector<SavedDay>& jours);
// What the pages of the bilan read: the mean, the marks, the group, its needs
// and the days themselves (for the page "Jour par jour").
DiagnosisData bilanDesJours(const QVector<SavedDay>& jours, const QString& groupName, const GroupNeeds& needs);
