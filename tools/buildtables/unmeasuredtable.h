#pragma once
// The side table of unmeasured values, written beside the Food table as
// NONMESUR.DBF. CIQUAL leaves some cells empty ("-"); the Food table stores
// them as 0, which reads like a measured zero. This table keeps the
// difference, so that a rate built on such values can say so.
//
// One record per Base food that has at least one unmeasured value, in
// NUMERO order; a food without a record has every value measured.
//   NUMERO   N 6, 0    the food's number in DIETAB.DBF
//   NOM      C 30      the food's name in DIETAB.DBF, as a check: a record
//                      applies only to the food with both this number and
//                      this name (a replaced Food table gets no marks)
//   PROT_A ... FIBRES  L 1, one per nutrient field, in the Food table's
//                      order: T when CIQUAL gives no value for it (the Food
//                      table holds 0), F when it is measured or estimated
//                      (sulphur from proteins, chloride from sodium)
#include "core/schema/schema.h"
#include "tablewriter.h"

namespace UnmeasuredTable {
const TableSchema& schema();
// The record of one food from its unmeasured fields (never empty).
TableRecord record(int numero, const QString& nom, const QStringList& unmeasured);
}
