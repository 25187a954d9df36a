#pragma once
// Why a rate of page 2 stays under its target after a proposal, in plain
// French: no allowed food brings the nutrient; the allowed foods do not
// bring enough within their portions; enough would pass 105 % of the energy
// need or a limit of page 1 or sodium's (found by lifting one limit at a
// time over every allowed food); or it cannot be reached together with the
// other rates within the number of foods. The linear problems that tell the
// last three apart stop at the deadline; a reason they could not find then
// names them together.
#include <QDeadlineTimer>
#include <QVector>

#include "core/suggest/completion.h"

QVector<Shortfall> explainShortfalls(const CompletionRequest& request, const Ceilings& ceilings,
                                     const QVector<int>& allowed, const DailyTotals& after,
                                     QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever));
