// The standard error handler's safety net: an exception escaping an event
// handler is shown with its own message and the program goes on.
#include <QScopeGuard>
#include <QtTest>
#include <stdexcept>

#include "app/application.h"
#include "core/io/dataerror.h"
#include "support/scriptedprompter.h"
#include "support/testsupport.h"

namespace {
// Throws from its event handler, as a command that did not catch its error.
class Lanceur : public QObject {
public:
    int kind = 0;
    int handled = 0;
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
        ++handled;
        if (kind == 0) throw DataError(QStringLiteral("Le fichier CHOIX.DBF est introuvable."));
        if (kind == 1) throw std::runtime_error("disque plein");
        throw 42;
    }
};
}   // namespace

class TestApplication : public QObject {
    Q_OBJECT
private slots:
    void escapingErrorsAreShown_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("DataError") << 0 << QStringLiteral("Le fichier CHOIX.DBF est introuvable.");
        QTest::newRow("std::exception") << 1 << QStringLiteral("disque plein");
        QTest::newRow("anything else") << 2 << QStringLiteral("Erreur inattendue.");
    }
    void escapingErrorsAreShown() {
        QFETCH(int, kind);
        QFETCH(QString, message);
        TempDataDir dir;
        ScriptedPrompter p(dir.run());
        static_cast<NutrimoApplication*>(qApp)->setErrorPrompter(&p);
        const auto back =
            qScopeGuard([] { static_cast<NutrimoApplication*>(qApp)->setErrorPrompter(nullptr); });
        Lanceur l;
        l.kind = kind;
        QCoreApplication::postEvent(&l, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&l, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        // Both events were delivered: the first error did not stop the loop.
        QCOMPARE(l.handled, 2);
        QCOMPARE(p.asked.size(), 2);
        QCOMPARE(p.asked.first().kind, Prompter::Kind::Error);
        QCOMPARE(p.lastText(), message);
    }
};

int main(int argc, char** argv) {
    NutrimoApplication app(argc, argv);
    TestApplication t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_application.moc"
