#include "core/needs/persontable.h"

#include <QFileInfo>
#include <algorithm>

#include "core/dbf/collation.h"
#include "core/io/datadirectory.h"
#include "core/io/dataerror.h"
#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "core/io/runcontext.h"
#include "core/table/table.h"

namespace {
// ETAT holds the state's place in Person::State.
Person fromRecord(const Table& t) {
    Person p;
    p.name = t.asString(QStringLiteral("NOM"));
    p.sex = t.asString(QStringLiteral("SEXE")).trimmed().toUpper() == QLatin1String("H") ? Person::Sex::Male
                                                                                         : Person::Sex::Female;
    p.age = static_cast<int>(t.asFloat(QStringLiteral("AGE")));
    p.weight = t.asFloat(QStringLiteral("POIDS"));
    p.height = t.asFloat(QStringLiteral("TAILLE"));
    p.pal = t.asFloat(QStringLiteral("PAL"));
    const int state = static_cast<int>(t.asFloat(QStringLiteral("ETAT")));
    p.state = state >= 0 && state <= static_cast<int>(Person::State::LactatingAfter6) ? Person::State(state)
                                                                                      : Person::State::None;
    return p;
}

void toRecord(Table& t, const Person& p) {
    t.setString(QStringLiteral("NOM"), p.name.simplified());
    t.setString(QStringLiteral("SEXE"), p.sex == Person::Sex::Male ? QStringLiteral("H") : QStringLiteral("F"));
    t.setFloat(QStringLiteral("AGE"), p.age);
    t.setFloat(QStringLiteral("POIDS"), p.weight);
    t.setFloat(QStringLiteral("TAILLE"), p.height);
    t.setFloat(QStringLiteral("PAL"), p.pal);
    t.setFloat(QStringLiteral("ETAT"), static_cast<int>(p.state));
}

bool exists(RunContext& run) { return QFileInfo::exists(run.dataDir().resolve(personsSchema().fileName)); }

// Puts the cursor on the person of that name, letter case aside.
bool moveTo(Table& t, const QString& name) {
    if (name.simplified().isEmpty()) return false;
    for (t.first(); !t.eof(); t.next())
        if (PersonTable::sameName(t.asString(QStringLiteral("NOM")), name)) return true;
    return false;
}
}   // namespace

namespace PersonTable {

bool sameName(const QString& a, const QString& b) {
    return a.simplified().compare(b.simplified(), Qt::CaseInsensitive) == 0;
}

QVector<Person> read(RunContext& run) {
    QVector<Person> out;
    if (!exists(run)) return out;
    Table t(run, personsSchema());
    t.setReadOnly(true);
    t.open();
    for (t.first(); !t.eof(); t.next()) out << fromRecord(t);
    std::sort(out.begin(), out.end(),
              [](const Person& a, const Person& b) { return Collation::key(a.name) < Collation::key(b.name); });
    return out;
}

void remember(RunContext& run, const Person& p, const QString& previous) {
    if (p.name.simplified().isEmpty())
        throw DataError(
            QStringLiteral("Une personne se retrouve par son nom : donnez-lui un nom pour la garder."));
    if (!exists(run))
        DbfFile::create(run.dataDir().resolve(personsSchema().fileName), personsSchema().fields, &run);
    Table t(run, personsSchema());
    t.open();
    if (moveTo(t, p.name) || moveTo(t, previous))
        t.edit();
    else
        t.append();
    toRecord(t, p);
    t.post();
}

void forget(RunContext& run, const QString& name) {
    if (!exists(run)) return;
    Table t(run, personsSchema());
    t.open();
    if (moveTo(t, name)) t.deleteRecord();
}

}   // namespace PersonTable
