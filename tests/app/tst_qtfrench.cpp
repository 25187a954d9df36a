// Qt's own texts in French: the program's application loads Qt's French
// translations whatever the locale, so the print dialog, the standard
// buttons and the edit boxes' context menus speak French.
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "app/application.h"

class TestQtFrench : public QObject {
    Q_OBJECT

    static QStringList buttonTexts(QWidget* w) {
        QStringList texts;
        for (QPushButton* b : w->findChildren<QPushButton*>())
            if (b->isVisibleTo(w)) texts << b->text().remove(QLatin1Char('&'));
        return texts;
    }

private slots:
    void standardButtons_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("text");
        QTest::newRow("Cancel") << int(QDialogButtonBox::Cancel) << "Annuler";
        QTest::newRow("Yes") << int(QDialogButtonBox::Yes) << "Oui";
        QTest::newRow("No") << int(QDialogButtonBox::No) << "Non";
        QTest::newRow("Close") << int(QDialogButtonBox::Close) << "Fermer";
    }
    void standardButtons() {
        QFETCH(int, button);
        QFETCH(QString, text);
        QDialogButtonBox box{QDialogButtonBox::StandardButton(button)};
        QCOMPARE(box.button(QDialogButtonBox::StandardButton(button))->text().remove(QLatin1Char('&')), text);
    }

    void printDialog() {
        QPrinter printer;
        QPrintDialog dialog(&printer);
        const QStringList texts = buttonTexts(&dialog);
        QVERIFY2(texts.contains(QStringLiteral("Imprimer")), qPrintable(texts.join(", ")));
        QVERIFY2(texts.contains(QStringLiteral("Annuler")), qPrintable(texts.join(", ")));
        QVERIFY(!texts.contains(QStringLiteral("Cancel")));
    }

    void editContextMenu() {
        QLineEdit edit(QStringLiteral("texte"));
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList texts;
        for (QAction* a : menu->actions()) texts << a->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
        QVERIFY2(texts.contains(QStringLiteral("Copier")), qPrintable(texts.join(", ")));
        QVERIFY2(texts.contains(QStringLiteral("Coller")), qPrintable(texts.join(", ")));
    }
};

int main(int argc, char** argv) {
    NutrimoApplication app(argc, argv);
    TestQtFrench t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_qtfrench.moc"
