#pragma once
// TFcompleter: the window "Compléter la ration". For the day's choice and
// one population group it shows the foods and grams the core proposes to
// close the gaps of page 2, the rates of page 2 before and after side by
// side, and why a rate stays short; the user chooses how many foods (3 to 8)
// and which categories and foods never to propose (kept in EXCLUS.TXT);
// "Ajouter à la journée" appends the lines to the day as the composition
// window's Ajouter does and closes the window (exec() then returns
// Accepted, so that the opener shows the new day).
//
// How data flows: FormShow reads the exclusions, the Food table, the group's
// needs (or takes the person's, given by the opener), their upper levels
// (from EFSA's values) and the day (CompletionData), then proposes
// (completeDay). A change
// of group, number or exclusions proposes again a moment later; until then
// "Ajouter à la journée" waits for the new proposal. Created for one opening.
#include <QString>
#include <QVector>

#include "core/suggest/completion.h"
#include "ui/modalwindow.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimer;
class EfsaReference;
class Session;

class TFcompleter : public ModalWindow {
    Q_OBJECT
public:
    // The Session gives the Data directory and the Daily totals, which are
    // refilled from the day after the lines are added; EFSA's values give
    // the groups' upper levels.
    TFcompleter(Session& session, const EfsaReference& efsa, QWidget* parent = nullptr);
    ~TFcompleter() override;

    // The group this opening starts on (a caption of the Diagnostic menu);
    // fixed: opened from the diagnosis of that group, it cannot change.
    void setGroup(const QString& caption, bool fixed);
    // Or the needs and upper levels of a person (fixed), under its title.
    void setPerson(const QString& title, const GroupNeeds& needs, const UpperLimits& limits);
    // The time cap and gap of the solver (tests shorten them).
    void setOptions(const CompletionOptions& options) { m_options = options; }

    bool FormShow() override;
    void FormClose() override;

    // Handlers.
    void SBproposerClick();
    void SBajouterClick();
    void SBrefuserClick();       // excludes the food of the selected proposal line
    void SBexclureClick();       // excludes the food typed or chosen in CBaliment
    void SBretablirClick();      // takes the selected excluded food back
    void LBcategoriesChange();   // a category ticked or unticked

    const Completion& proposition() const { return m_completion; }
    const CompletionRequest& demande() const { return m_request; }
    bool propositionAJour() const { return !m_stale; }

    QComboBox* CBgroupe = nullptr;
    QSpinBox* SEnombre = nullptr;
    QPushButton* SBproposer = nullptr;
    QListWidget* LBcategories = nullptr;
    QListWidget* LBexclus = nullptr;
    QComboBox* CBaliment = nullptr;
    QPushButton* SBexclure = nullptr;
    QPushButton* SBretablir = nullptr;
    QTableWidget* DBGproposition = nullptr;
    QPushButton* SBrefuser = nullptr;
    QTableWidget* DBGtaux = nullptr;
    QLabel* Lnotes = nullptr;
    QPushButton* SBajouter = nullptr;
    QPushButton* SBfermer = nullptr;

private:
    void build();
    void showExclusions();
    void showCompletion();
    // Writes the exclusions; on failure says why and puts back the old ones.
    bool keepExclusions(const Exclusions& next);
    void proposeLater();
    // The needs of the group chosen and its upper levels (a file that cannot
    // be read says so in the notes); a person's as given.
    void readNeeds();

    Session& m_session;
    const EfsaReference& m_efsa;
    bool m_personne = false;
    GroupNeeds m_personNeeds;
    UpperLimits m_personLimits;
    CompletionOptions m_options;
    CompletionRequest m_request;
    Completion m_completion;
    QTimer* m_later = nullptr;
    bool m_stale = true;
    bool m_loading = false;
};
