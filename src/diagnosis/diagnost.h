#pragma once
// TFdiagnost: the diagnosis window, "bilan de la ration journalière".
//
// The main window gives it the group chosen (setGroup, which makes the
// caption the group's name followed by " : bilan de la ration journalière"),
// or the needs of a person (setPerson), and shows the window. On showing,
// the window reads the group's needs from the Needs table (kept open while it
// is shown), or takes the person's, and refills the Daily totals from the
// Choice table, through a read-only handle of its own; the page area then
// paints page 1, or page 2 when its button is down, from the data read.
// Painting never reads a table nor asks anything. With an empty choice the
// window says so and does not appear. The print button prints both pages on
// one sheet from the same data.
//
// Opened on saved days (setDays), the window shows their bilan instead:
// pages 1 and 2 from the mean of the days' totals, and a third page "Jour
// par jour"; the day's choice is neither read nor changed, and "Compléter la
// ration", which adds to the day's choice, is not offered.
#include <QString>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>

#include "core/diagnosis/drawing.h"
#include "core/needs/personneeds.h"
#include "ui/modalwindow.h"

class QFrame;
class QToolButton;
class QButtonGroup;
class Desktop;
class Session;
class Surface;
class Table;

class TFdiagnost : public ModalWindow {
    Q_OBJECT
public:
    // The Session gives the Daily totals, the First-paint flag and the run
    // whose tables it reads; the desktop prints.
    TFdiagnost(Session& session, Desktop& desktop, QWidget* parent = nullptr);
    ~TFdiagnost() override;

    // The Population group of the next showings, as the Diagnostic menu
    // names it; the caption says it.
    void setGroup(const QString& groupe);
    QString groupe() const { return m_groupe; }

    // Start-up: reads the Needs table and sums the Choice table once, so that a
    // missing file is reported then, and clears the First-paint flag; the
    // window does not appear.
    void premiereLecture();

    // The next showing is the bilan of these saved days (read by the
    // opener) for the group, a caption of the Diagnostic menu; the caption
    // says "Moyenne de n jours". Closing the window goes back to the day's
    // choice for the next showing.
    void setDays(const QString& groupe, const QVector<SavedDay>& jours);

    // The panel along the right edge and its speed buttons.
    QFrame* Panel1 = nullptr;
    QToolButton* SBpage1 = nullptr;
    QToolButton* SBpage2 = nullptr;
    QToolButton* SBpage3 = nullptr;   // "Jour par jour", for a bilan of several days
    QToolButton* SBimprimer = nullptr;
    QToolButton* SBcompleter = nullptr;
    QToolButton* SBsortir = nullptr;

    // The page shown by the page area: 1, 2, or 3 for several days.
    int pageAffichee() const { return m_page; }
    // True once the data of this showing have been read and page drawing can
    // proceed.
    bool donneesLues() const { return m_pret; }
    const DiagnosisData& donnees() const { return m_data; }
    QString colonneGroupe() const { return m_colonne; }
    // Draws what the page area shows (blanks it, then the current page).
    void dessinePage(Surface& surface);

    // From a shortfall to the foods that fill it: on page 2 a click selects
    // a row (the arrows move the selection), a double-click or Enter opens
    // the ranking of the row's nutrient through this function (given by
    // start-up). Energy has no ranking: its row opens nothing. The selection
    // is a dotted frame on screen only; the page drawn and printed is as ever.
    void setOpenRanking(std::function<void(const QString& champ)> ouvre);
    // The bilan of a person rather than of a group: its needs and upper
    // levels as given, its title and parameters on the pages and in the
    // caption. Kept until a group is given.
    void setPerson(const PersonBilan& personne);
    const std::optional<PersonBilan>& personne() const { return m_personne; }

    // "Compléter la ration" for the group or the person shown, through this
    // function (given by start-up; it returns true when lines were added to
    // the day). The window then reads the day again and shows it.
    using OpenCompletion = std::function<bool(const QString& groupe, const PersonBilan* personne)>;
    void setOpenCompletion(OpenCompletion ouvre);
    int ligneChoisie() const { return m_ligne; }   // index in LignesPage2(), -1 none
    void choisitLigne(int index);
    void ouvreLigne(int index);
    // The page-2 row at a point of the page area, or -1 (page 1: always -1).
    int ligneEn(int y) const;
    // Page 3: the nutrient (a row of page 2) whose coverage the chart shows;
    // chosen by a click on its column or by the arrows, and opened in the
    // ranking by Enter or a double-click, as a row of page 2.
    int nutrimentChoisi() const { return m_nutriment; }
    void choisitNutriment(int ligne);
    int nutrimentEn(int x) const;   // the row of page 2 whose column is at x, or -1

public slots:
    void SBpage1Click();
    void SBpage2Click();
    void SBpage3Click();
    void SBimprimerClick();
    void SBcompleterClick();
    void SBsortirClick();

    // Reads the data of a showing; an empty choice, an error or the start-up
    // reading close the window again once it is up.
    bool FormShow() override;
    void FormClose() override;

private:
    // Needs of the group named by the caption, then the Daily totals from
    // the Choice table (opened, summed, closed). Throws DataError.
    void litDonnees();
    // A reading starts: nothing drawn from the last one.
    void commenceLecture();
    // The needs of a group, read from the Needs table (opened, kept open
    // while the window is shown); the group's column becomes m_colonne.
    GroupNeeds besoinsDuGroupe(const QString& groupe);
    // Needs of the group given by setDays, the mean of the days. Throws DataError.
    void litJours();
    // Page 3 and its button for several days, "Compléter la ration" for one.
    void montreBoutons();

    Session& m_session;
    Desktop& m_desktop;
    QString m_groupe;

    QWidget* m_pageArea = nullptr;
    QButtonGroup* m_pages = nullptr;
    std::unique_ptr<Table> Tbesoins;
    DiagnosisData m_data;
    QString m_colonne;
    int m_page = 1;
    int m_ligne = -1;
    QVector<SavedDay> m_jours;   // its days; empty: the day's choice
    int m_nutriment = 1;
    std::function<void(const QString&)> m_ouvreClassement;
    OpenCompletion m_ouvreComplement;
    std::optional<PersonBilan> m_personne;
    bool m_pret = false;
};
