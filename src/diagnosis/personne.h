#pragma once
// TFpersonne: "Besoins d'une personne". The user gives a person's name
// (optional), sex, age, weight, height, activity and, for a woman, pregnancy
// or breastfeeding; the window shows at once the energy need that follows,
// or what is outside the accepted ranges. OK computes the needs (the core's
// PersonNeedsRules, from EFSA's values), remembers a named person in the
// Data directory (PERSONNE.DBF) and closes; the opener then shows the
// diagnosis on bilan(). The persons remembered are listed, to be picked
// again, changed (OK keeps the change) or deleted.
//
// Created for one opening.
#include <QVector>

#include "core/needs/person.h"
#include "core/needs/personneeds.h"
#include "ui/modalwindow.h"

class RunContext;
class QButtonGroup;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class EfsaReference;

class TFpersonne : public ModalWindow {
    Q_OBJECT
public:
    // The persons are kept in dataDir; EFSA's values give the needs.
    TFpersonne(RunContext& run, const EfsaReference& efsa, QWidget* parent = nullptr);
    ~TFpersonne() override;

    bool FormShow() override;

    // The person the fields describe, and the one they are set to.
    Person personne() const;
    void setPerson(const Person& p);
    // The bilan computed by the last OK that closed the window.
    const PersonBilan& bilan() const { return m_bilan; }
    const QVector<Person>& personnesGardees() const { return m_gardees; }

    // Handlers.
    void BitBtnOKClick();
    void SBnouvelleClick();
    void SBsupprimerClick();
    void LBpersonnesChange();
    void ParametreChange();   // any field: the state follows the sex, the energy is shown again

    QLineEdit* EditNOM = nullptr;
    QRadioButton* RBfemme = nullptr;
    QRadioButton* RBhomme = nullptr;
    QSpinBox* SEage = nullptr;
    QDoubleSpinBox* SEpoids = nullptr;
    QSpinBox* SEtaille = nullptr;
    QComboBox* CBactivite = nullptr;
    QComboBox* CBetat = nullptr;
    QLabel* Lbesoins = nullptr;
    QListWidget* LBpersonnes = nullptr;
    QPushButton* SBnouvelle = nullptr;
    QPushButton* SBsupprimer = nullptr;
    QPushButton* BitBtnOK = nullptr;
    QPushButton* BitBtnAnnuler = nullptr;

private:
    void build();
    // Reads the remembered persons again and selects the one of that name.
    void relitPersonnes(const QString& selection);

    RunContext& m_run;
    const EfsaReference& m_efsa;
    QButtonGroup* m_sexes = nullptr;
    QVector<Person> m_gardees;
    QString m_choisie;   // name of the remembered person picked, if any
    PersonBilan m_bilan;
    bool m_remplit = false;
};
