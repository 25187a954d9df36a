#pragma once
// TFjours: the window "Bilan de plusieurs jours". It lists the saved days of
// the Data directory (file, date, lines, energy, and what keeps a day out of
// a bilan), sorted by date; the user ticks 2 to 14 of them (Space ticks the
// current day, Ctrl+A ticks them all), goes on (Return) to the population
// groups, in the order of the Diagnostic menu, and opens the bilan of the
// ticked days for the chosen group (Return). The bilan opens over this
// window; closing it comes back to the groups, to choose another.
//
// How data flows: FormShow reads every saved day once, each through a
// read-only handle (SavedDays::readAll); the ticked days, already read, go
// with the chosen group to the function the opener gives. Nothing is written.
#include <QStringList>
#include <QVector>
#include <functional>

#include "core/compose/savedday.h"
#include "ui/modalwindow.h"

class RunContext;
class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

class TFjours : public ModalWindow {
    Q_OBJECT
public:
    // Opens the bilan of the days for a group (one of the groups offered).
    using OuvreBilan = std::function<void(const QString& groupe, const QVector<SavedDay>& jours)>;

    // dataDir: where the saved days are; groupes: the groups offered, as the
    // Diagnostic menu names them and in its order; groupeInitial: the one the
    // list starts on (the first when it is not among them).
    TFjours(RunContext& run, const QStringList& groupes, const QString& groupeInitial, OuvreBilan ouvre,
            QWidget* parent = nullptr);
    ~TFjours() override;

    // Reads the saved days and shows the first step, nothing ticked.
    bool FormShow() override;

    void SBsuivantClick();     // to the groups, once 2 to 14 days are ticked
    void SBprecedentClick();   // back to the days, their ticks kept
    void SBbilanClick();       // the bilan of the ticked days for the selected group
    // Ticks or unticks the day on a row of the list; a day that cannot be
    // read, or a fifteenth, is refused with the reason. True when done.
    bool cocheJour(int row, bool coche);
    // Ticks every day that can be (the 14 most recent when there are more).
    void cocheTout();

    const QVector<SavedDay>& jours() const { return m_jours; }
    QVector<SavedDay> joursCoches() const;

    QLabel* Ljours = nullptr;
    QTreeWidget* DBGjours = nullptr;
    QLabel* Lcoches = nullptr;
    QLabel* Lgroupes = nullptr;
    QListWidget* LBgroupes = nullptr;
    QLabel* Lresume = nullptr;   // the ticked days, above the groups
    QPushButton* SBprecedent = nullptr;
    QPushButton* SBsuivant = nullptr;
    QPushButton* SBbilan = nullptr;
    QPushButton* SBfermer = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void montreEtape(int etape);
    void DBGjoursChange(QTreeWidgetItem* item, int column);
    void afficheCompte();
    int nbCoches() const;

    RunContext& m_run;
    QStringList m_groupes;
    QString m_groupeInitial;
    OuvreBilan m_ouvre;
    QVector<SavedDay> m_jours;
    QStackedWidget* m_etapes = nullptr;
    bool m_remplissage = false;   // the list is being filled: its changes are ours
};
