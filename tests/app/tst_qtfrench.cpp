// Qt's own texts in French, whatever the locale: the print dialog's buttons,
// the standard buttons and the edit boxes' context menu.
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

    static QStringList texts(const QList<QAction*>& actions) {
        QStringList t;
        for (QAction* a : actions) t << a->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
        return t;
    }

private slots:
    void printDialogAndButtons() {
        QPrinter printer;
        QPrintDialog dialog(&printer);
        QStringList shown;
        for (QPushButton* b : dialog.findChildren<QPushButton*>())
            if (b->isVisibleTo(&dialog)) shown << b->text().remove(QLatin1Char('&'));
        QVERIFY2(shown.contains("Imprimer") && shown.contains("Annuler"), qPrintable(shown.join(", ")));
        QDialogButtonBox box{QDialogButtonBox::Yes | QDialogButtonBox::No};
        QCOMPARE(box.button(QDialogButtonBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Non"));
    }

    void editContextMenu() {
        QLineEdit edit(QStringLiteral("texte"));
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        const QStringList shown = texts(menu->actions());
        QVERIFY2(shown.contains("Copier") && shown.contains("Coller"), qPrintable(shown.join(", ")));
    }
};

int main(int argc, char** argv) {
    NutrimoApplication app(argc, argv);
    TestQtFrench t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_qtfrench.moc"
