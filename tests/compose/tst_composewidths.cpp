// Whole values in the composition window: the detail view, the chosen grid
// and the totals strip show every value whole, measured in each box's font
// against the box, with the whole text in the hint as well; nothing overlaps.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTimer>
#include <QComboBox>
#include <QtTest>
#include <cmath>

#include "compose/compose.h"
#include "compose/voir.h"
#include "core/compose/dailytotals.h"
#include "core/compose/totalsstrip.h"
#include "core/schema/numformat.h"
#include "core/session/session.h"
#include "core/table/table.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"
#include "support/testsupport.h"
#include "ui/datagrid.h"
#include "ui/fieldbox.h"
#include "ui/tablemodel.h"

namespace {
const QString kLongName = QStringLiteral("Gratin dauphinois de la grand-");   // 30 characters

// The text fits inside the line edit's frame and inner margins.
bool fitsBox(const QLineEdit* e) {
    const int frame = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, e);
    return QFontMetrics(e->font()).horizontalAdvance(e->text()) + 2 * frame + 4 <= e->width();
}
bool overlapInARow(const QList<QWidget*>& ws) {
    for (int i = 0; i < ws.size(); ++i)
        for (int j = i + 1; j < ws.size(); ++j)
            if (ws[i]->y() == ws[j]->y() && ws[i]->geometry().intersects(ws[j]->geometry())) return true;
    return false;
}
}   // namespace

class TestComposeWidths : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDataDir> dir;
    Session* session = nullptr;
    std::unique_ptr<ScriptedDesktop> desktop;
    std::unique_ptr<TFcompose> w;

    void open() {
        session = &dir->session();
        desktop = std::make_unique<ScriptedDesktop>(dir->run());
        w = std::make_unique<TFcompose>(*session, *desktop);
        session->ModeCompose = false;
        QVERIFY(w->prepare());
    }

private slots:
    void init() {
        dir = std::make_unique<TempDataDir>();
        Fixtures::writeAllTables(dir->path());
    }
    void cleanup() {
        if (w) w->done(QDialog::Rejected);
        w.reset();
        desktop.reset();
        session = nullptr;
        dir.reset();
    }

    // A composite with a 30-character name and values of many digits.
    void detailViewShowsWholeValues() {
        QVariantMap m;
        m["NUMERO"] = 300.0;
        m["NOM"] = kLongName;
        m["CATEGORIE"] = CategorieComposee;
        double v = 9.879167;
        for (const Nutrient& n : nutrients()) {
            m[QString::fromLatin1(n.field)] = v;
            v = v * 3.1 + 0.000001;
            if (v > 99999) v = 0.000417;
        }
        m["LIPI_A"] = 1234.567891;   // an energy of five digits
        // The values as the table stores them (six decimals).
        auto stored = [&](const QString& f) {
            return QString::number(m.value(f).toDouble(), 'f', 6).toDouble();
        };
        const double energy = 4 * (stored("PROT_A") + stored("PROT_V") + stored("GLUC_S") + stored("GLUC_A")) +
                              9 * (stored("LIPI_A") + stored("LIPI_V"));
        Fixtures::appendRecords(foodSchema(), dir->file(QStringLiteral("DIETAB.DBF")), {m});
        open();
        w->CBcategorie->setCurrentIndex(categories().indexOf(CategorieComposee));
        QCOMPARE(w->Talim().asString(QStringLiteral("NOM")), kLongName);

        TFvoir& voir = *w->Fvoir();
        QStringList problems;
        QTimer::singleShot(0, &voir, [&] {
            QList<QWidget*> boxes{voir.EKCAL};
            QStringList fields{QStringLiteral("NOM")};
            for (const Nutrient& n : nutrients()) fields << QString::fromLatin1(n.field);
            for (const QString& f : fields) {
                FieldBox* b = voir.box(f);
                const QString whole = f == QLatin1String("NOM") ? kLongName : NumFormat::General(stored(f));
                if (b->text() != whole)
                    problems << f + QStringLiteral(": ") + b->text() + QStringLiteral(" for ") + whole;
                if (!fitsBox(b)) problems << f + QStringLiteral(" cut: ") + b->text();
                if (b->toolTip() != whole) problems << f + QStringLiteral(" hint: ") + b->toolTip();
                if (!voir.rect().contains(b->geometry())) problems << f + QStringLiteral(" outside the window");
                boxes << b;
            }
            if (voir.EKCAL->text() != QString::number(std::llround(energy)))
                problems << QStringLiteral("EKCAL ") + voir.EKCAL->text();
            if (!fitsBox(voir.EKCAL)) problems << QStringLiteral("EKCAL cut");
            if (overlapInARow(boxes)) problems << QStringLiteral("boxes overlap");
            voir.SBsortirClick();
        });
        w->SBconsulterClick();
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    // Long names and 10000 g lines in the chosen grid.
    void chosenGridShowsWholeValues() {
        QVariantMap food;
        food["NUMERO"] = 300.0;
        food["NOM"] = QStringLiteral("Cabillaud, cuit à la vapeur");
        food["CATEGORIE"] = categories()[2];
        food["GLUC_S"] = 100.0;
        food["NA"] = 38758.0;
        food["VIT_D"] = 0.0417;
        Fixtures::appendRecords(foodSchema(), dir->file(QStringLiteral("DIETAB.DBF")), {food});
        open();
        w->CBcategorie->setCurrentIndex(2);
        QVERIFY(w->Talim().locate(QStringLiteral("NOM"), food["NOM"].toString()));
        ScriptedPrompter p(dir->run());
        p.answer(QStringLiteral("10000"));
        w->SBajouterClick();
        DataGrid* g = w->DBGchoix;
        TableModel* m = g->tableModel();
        QCOMPARE(m->rowCount(), 1);
        const QFontMetrics fm(g->font());
        QStringList problems;
        for (int c = 0; c < m->columnCount(); ++c) {
            const QString text = m->text(0, c);
            if (fm.horizontalAdvance(text) + 6 > g->columnWidth(c))
                problems << m->column(c).field + QStringLiteral(" cut: ") + text;
            if (m->data(m->index(0, c), Qt::ToolTipRole).toString() != text)
                problems << m->column(c).field + QStringLiteral(" hint");
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        QCOMPARE(m->text(0, m->columnOf(QStringLiteral("GLUC_S"))), QStringLiteral("10000.000"));
    }

    void totalsStripKeepsFieldsApart_data() {
        QTest::addColumn<double>("value");
        QTest::newRow("six digits") << 123456.4;
        QTest::newRow("largest a line holds") << 999999999.0;
        QTest::newRow("most negative") << -99999999.0;
    }
    void totalsStripKeepsFieldsApart() {
        QFETCH(double, value);
        QVariantMap line;
        line["NOM"] = QStringLiteral("Ligne");
        line["QTE"] = value;
        for (const QString& f : lineComputedFields()) line[f] = value;
        Fixtures::appendRecords(choiceSchema(), dir->file(QStringLiteral("CHOIX.DBF")), {line});
        open();
        QList<QWidget*> labels;
        QStringList problems;
        for (const auto& e : TotalsStrip::textes(session->totals())) {
            QLabel* l = w->Ltotal(e.label);
            labels << l;
            if (!e.text.contains(TotalsStrip::valeur(value).trimmed()))
                problems << e.label + QStringLiteral(" value");
            if (l->text() != e.text) problems << e.label + QStringLiteral(": ") + l->text();
            if (QFontMetrics(l->font()).horizontalAdvance(l->text()) > l->contentsRect().width())
                problems << e.label + QStringLiteral(" cut: ") + l->text();
            if (l->toolTip() != e.text) problems << e.label + QStringLiteral(" hint");
            if (!l->parentWidget()->rect().contains(l->geometry()))
                problems << e.label + QStringLiteral(" outside");
        }
        if (overlapInARow(labels)) problems << QStringLiteral("labels overlap");
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestComposeWidths)
#include "tst_composewidths.moc"
