#include "core/suggest/completiondata.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

#include "core/compose/choicelist.h"
#include "core/compose/nomsaliments.h"
#include "core/compose/nonmesures.h"
#include "core/io/dataerror.h"
#include "core/io/runcontext.h"
#include "core/dbf/dbf.h"
#include "core/io/wholefile.h"
#include "core/schema/schema.h"
#include "core/table/table.h"

namespace CompletionData {
namespace {
const QString kCategorie = QStringLiteral("catégorie :");
const QString kAliment = QStringLiteral("aliment :");

QString pathOf(RunContext& run, const QString& name) { return run.dataDir().resolve(name); }
}   // namespace

const QString& exclusionsFile() {
    static const QString name = QStringLiteral("EXCLUS.TXT");
    return name;
}

Exclusions readExclusions(RunContext& run) {
    Exclusions out;
    const QString path = pathOf(run, exclusionsFile());
    if (!QFileInfo::exists(path)) return out;
    const QByteArray bytes = WholeFile::read(path, exclusionsFile());
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError())
        throw DataError(
            QStringLiteral("Le fichier %1 n'est pas un texte UTF-8 : les exclusions ne peuvent pas être "
                           "lues. Corrigez ou supprimez ce fichier.")
                .arg(exclusionsFile()));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        if (line.startsWith(kCategorie) && !line.mid(kCategorie.size()).trimmed().isEmpty()) {
            out.categories.insert(line.mid(kCategorie.size()).trimmed());
        } else if (line.startsWith(kAliment) && !line.mid(kAliment.size()).trimmed().isEmpty()) {
            const QString name = line.mid(kAliment.size()).trimmed();
            if (!out.foods.contains(name)) out.foods << name;
        } else {
            throw DataError(QStringLiteral("Le fichier %1, ligne %2, n'est pas compris : « %3 » (une ligne dit "
                                           "« catégorie : » ou « aliment : » suivi d'un nom). Corrigez ou "
                                           "supprimez ce fichier.")
                                .arg(exclusionsFile())
                                .arg(i + 1)
                                .arg(line.left(60)));
        }
    }
    return out;
}

void writeExclusions(RunContext& run, const Exclusions& exclusions) {
    QString text = QStringLiteral("# Nutrimo : ce que « Compléter la ration » ne propose jamais\n");
    QStringList categories(exclusions.categories.begin(), exclusions.categories.end());
    // In the fixed order of the categories, so that the file reads as the window shows it.
    std::sort(categories.begin(), categories.end(), [](const QString& a, const QString& b) {
        return ::categories().indexOf(a) < ::categories().indexOf(b);
    });
    for (const QString& c : categories) text += kCategorie + QLatin1Char(' ') + c + QLatin1Char('\n');
    for (const QString& f : exclusions.foods)
        text += kAliment + QLatin1Char(' ') + f.trimmed() + QLatin1Char('\n');
    WholeFile::replace(run.seam(), pathOf(run, exclusionsFile()), text.toUtf8(), exclusionsFile());
}

QVector<CandidateFood> readFoods(RunContext& run, const PortionTable& portions) {
    QVector<CandidateFood> out;
    const auto file = DbfFile::open(pathOf(run, foodSchema().fileName), true, &run);
    const int numero = file->fieldIndex(QStringLiteral("NUMERO"));
    const int nom = file->fieldIndex(QStringLiteral("NOM"));
    const int categorie = file->fieldIndex(QStringLiteral("CATEGORIE"));
    if (numero < 0 || nom < 0 || categorie < 0)
        throw DataError(QStringLiteral("La table des aliments %1 n'a pas les champs NUMERO, NOM et CATEGORIE.")
                            .arg(foodSchema().fileName));
    // Field index of each nutrient slot, -1 when the file lacks it.
    int fieldOf[DailyTotals::Count];
    for (int s = 0; s < DailyTotals::Count; ++s) fieldOf[s] = file->fieldIndex(choiceNumericFields()[s]);
    const QHash<QString, QSet<int>> marks = marquesDesAliments(run.dataDir().path());
    out.reserve(file->recordCount());
    for (int r = 0; r < file->recordCount(); ++r) {
        if (file->isDeleted(r)) continue;
        CandidateFood f;
        f.numero = static_cast<int>(file->number(r, numero));
        f.name = file->text(r, nom).trimmed();
        f.category = file->text(r, categorie).trimmed();
        for (int s = 0; s < DailyTotals::Count; ++s)
            if (fieldOf[s] >= 0) f.per100[s] = file->number(r, fieldOf[s]);
        const auto& v = f.per100;
        using T = DailyTotals;
        f.per100[T::QTE] = 100.0;
        f.per100[T::CALORIES] =
            foodEnergy(v[T::PROT_A], v[T::PROT_V], v[T::LIPI_A], v[T::LIPI_V], v[T::GLUC_S], v[T::GLUC_A]);
        f.unmeasured = marks.value(f.name);
        f.portion = portions.portionOf(f.category, f.name);
        out << f;
    }
    return out;
}

GroupNeeds readNeeds(RunContext& run, const QString& groupColumn) {
    Table t(run, needsSchema());
    t.setReadOnly(true);
    t.open();
    if (t.recordCount() < 29)
        throw DataError(
            QStringLiteral("La table des besoins %1 n'a que %2 lignes sur les 29 attendues : elle est "
                           "abîmée, aucun complément ne peut être calculé.")
                .arg(needsSchema().fileName)
                .arg(t.recordCount()));
    GroupNeeds needs;
    LitBesoins(t, groupColumn, needs);
    return needs;
}

DailyTotals readDay(RunContext& run) {
    Table t(run, choiceSchema());
    t.setReadOnly(true);
    t.open();
    DailyTotals totals;
    CalculTotaux(t, totals);
    return totals;
}

void addToDay(RunContext& run, const CompletionRequest& request, const QVector<ProposedLine>& lines) {
    Table talim(run, foodSchema());
    talim.setIndexName(QStringLiteral("NOM"));
    talim.setReadOnly(true);
    talim.open();
    for (const ProposedLine& l : lines)
        if (!NomsAliments::trouveAliment(talim, request.foods[l.food].name))
            throw DataError(
                QStringLiteral("L'aliment %1 n'existe plus dans la table : rien n'a été ajouté à la "
                               "journée.")
                    .arg(request.foods[l.food].name));
    Table tchoix(run, choiceSchema());
    tchoix.setIndexName(QString());
    tchoix.open();
    ChoiceList list(talim, tchoix);
    int appended = 0;
    try {
        for (const ProposedLine& l : lines) {
            NomsAliments::trouveAliment(talim, request.foods[l.food].name);
            list.ajouteLigne(l.grams);
            ++appended;
        }
    } catch (const DataError& e) {
        // The lines already written go again, so that the day is as it was.
        QString undone = QStringLiteral("rien n'a été ajouté à la journée");
        try {
            for (; appended > 0; --appended) {
                tchoix.last();
                tchoix.deleteRecord();
            }
        } catch (const DataError&) {
            undone = QStringLiteral(
                         "%1 ligne(s) de la proposition sont restées dans la journée ; supprimez-les dans "
                         "la composition du menu")
                         .arg(appended);
        }
        throw DataError(e.message() + QStringLiteral(" La proposition n'a pas été ajoutée : ") + undone +
                        QLatin1Char('.'));
    }
}
}   // namespace CompletionData
