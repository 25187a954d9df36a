#include "core/ciqual/ciqualgroups.h"

#include <QHash>

#include "core/schema/schema.h"

namespace {
// Category number (1..14) per CIQUAL sub-group.
const QHash<QString, int>& subgroupCategories() {
    static const QHash<QString, int> map = {
        {"0000", 11},   // dessert (aliment moyen)
        {"0101", 8},  {"0102", 8},  {"0103", 12}, {"0104", 7},  {"0105", 7},  {"0106", 7},  {"0201", 8},
        {"0202", 9},  {"0203", 9},  {"0204", 10}, {"0205", 10}, {"0301", 7},  {"0302", 7},  {"0303", 7},
        {"0305", 7},  {"0401", 1},  {"0402", 1},  {"0403", 2},  {"0404", 1},  {"0405", 3},  {"0406", 3},
        {"0407", 4},  {"0408", 4},  {"0409", 3},  {"0410", 5},  {"0411", 9},  {"0501", 5},  {"0502", 5},
        {"0503", 5},  {"0504", 6},  {"0601", 12}, {"0602", 12}, {"0603", 12}, {"0701", 11}, {"0702", 11},
        {"0703", 11}, {"0704", 11}, {"0705", 7},  {"0706", 11}, {"0707", 7},  {"0708", 11}, {"0709", 11},
        {"0801", 11}, {"0802", 11}, {"0803", 11}, {"0901", 6},  {"0902", 6},  {"0903", 6},  {"0904", 6},
        {"0905", 6},  {"1001", 12}, {"1002", 12}, {"1003", 12}, {"1004", 12}, {"1005", 12}, {"1006", 12},
        {"1007", 14}, {"1008", 14}, {"1009", 14}, {"1101", 5},  {"1102", 12}, {"1103", 11}, {"1104", 7},
    };
    return map;
}
}   // namespace

QString CiqualGroups::category(const QString& subgroup, const QString& subsubgroup) {
    // Offal, cooked or raw, belongs with the charcuterie; plant-based
    // substitutes of the charcuterie sub-group with the pulses.
    if (subsubgroup == QLatin1String("040108") || subsubgroup == QLatin1String("040208"))
        return categories().at(1);
    if (subsubgroup == QLatin1String("040309")) return categories().at(8);
    const auto it = subgroupCategories().constFind(subgroup);
    return it == subgroupCategories().constEnd() ? QString() : categories().at(it.value() - 1);
}
