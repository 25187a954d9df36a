#pragma once
// The saved days of a Data directory (*.dat, byte copies of the Choice
// table) as the bilan of several days reads them.
//
// Each file is opened through a read-only handle and summed as the diagnosis
// sums the day's choice (CalculTotaux); nothing is written, and the day's
// choice itself (CHOIX.DBF) is never opened. A saved day holds its own
// nutrient values, so a day saved from an older Food table still counts with
// them; the lines whose food the Food table no longer has are counted, so
// that the list can say so. A file that cannot be read is kept in the list
// with the reason, and cannot be chosen.
#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>

#include "core/compose/dailytotals.h"

struct SavedDay {
    enum class Status { Readable, Empty, Damaged, Unreadable, Missing };
    QString name;         // the file's name in the Data directory ("lundi.dat")
    QDateTime modified;   // the file's date; invalid when the file is missing
    Status status = Status::Missing;
    QString reason;   // why it cannot be read, as the reader said it
    int lines = 0;
    DailyTotals totals;
    // Its chosen foods that lack a measured value: key of marquesDesAliments
    // -> the Daily totals slots they lack.
    QHash<QString, QSet<int>> unmeasuredFoods;
    int absentFoods = 0;   // lines whose food the Food table no longer has

    // Only a day that has something to assess can be part of a bilan.
    bool tickable() const { return status == Status::Readable; }
    // What the list says beside the figures: "endommagé", "illisible",
    // "introuvable", "vide", "1 aliment absent de la table", or nothing.
    QString remark() const;
};

// What the Food table tells about the lines of saved days, read once for all
// of them: the names of its foods and the values it does not know.
class RunContext;

class FoodKnowledge {
public:
    static FoodKnowledge read(const QString& dir);
    // The Food table has a food of that name as the composition window finds
    // it (NomsAliments::memeNom); true when there is no Food table to ask.
    bool hasFood(const QString& nom);
    const QHash<QString, QSet<int>>& marks() const { return m_marks; }

private:
    bool m_hasFoodTable = false;
    QSet<QString> m_names;               // as stored, without outer blanks: most lines match one
    QSet<QString> m_nameKeys;            // NomsAliments::cleDuNom of each, made on the first miss
    QHash<QString, QSet<int>> m_marks;   // marquesDesAliments
};

namespace SavedDays {
// A bilan of several days takes from 2 to 14 of them.
constexpr int Minimum = 2;
constexpr int Maximum = 14;

// Every saved day of the run's Data directory, each read, sorted by the
// file's date (oldest first), then by name; missing files last.
QVector<SavedDay> readAll(RunContext& run);
// One saved day of the Data directory; never throws: a failure is its
// status and reason.
SavedDay read(RunContext& run, const QString& name, FoodKnowledge& foods);
}   // namespace SavedDays
