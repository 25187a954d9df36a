// The Qt prompter's questions: Enter gives the default button, which is Non
// for a question that destroys something, Oui otherwise; Escape always Non.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "ui/qtprompter.h"

class TestQtPrompter : public QObject {
    Q_OBJECT
private slots:
    void keysOnAQuestion_data() {
        QTest::addColumn<int>("byDefault");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("defaultButton");
        QTest::addColumn<bool>("answer");
        const int no = int(Prompter::Default::No), yes = int(Prompter::Default::Yes);
        QTest::newRow("destructive, Enter") << no << int(Qt::Key_Return) << "&Non" << false;
        QTest::newRow("destructive, Escape") << no << int(Qt::Key_Escape) << "&Non" << false;
        QTest::newRow("ordinary, Enter") << yes << int(Qt::Key_Return) << "&Oui" << true;
        QTest::newRow("ordinary, Escape") << yes << int(Qt::Key_Escape) << "&Oui" << false;
    }
    void keysOnAQuestion() {
        QFETCH(int, byDefault);
        QFETCH(int, key);
        QFETCH(QString, defaultButton);
        QFETCH(bool, answer);
        QString shownDefault;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            if (box->defaultButton()) shownDefault = box->defaultButton()->text();
            QTest::keyClick(box, Qt::Key(key));
        });
        // Safety net: a box that the keys did not close is closed here.
        QTimer::singleShot(3000, this, [] {
            if (QWidget* w = QApplication::activeModalWidget()) w->close();
        });
        QtPrompter prompter;
        const bool got =
            prompter.ask(Prompter::Kind::Information, QStringLiteral("Désirez-vous effacer tous vos choix ?"),
                         Prompter::Default(byDefault));
        QCOMPARE(shownDefault, defaultButton);
        QCOMPARE(got, answer);
    }
};

QTEST_MAIN(TestQtPrompter)
#include "tst_qtprompter.moc"
