#pragma once
// Drawing conventions shared by both pages of the diagnosis, on screen and on
// paper: the data a drawing reads, the coordinates of each element, the
// scale of the printed sheet, and the right-aligned value drawing.
//
// Every page step draws in the surface's device units. On screen the
// coordinates are pixels; on paper they are printer dots, most of them the
// screen value times the scale (Echelle), a few of them placed differently
// (leaders, needs right edge, line height).
#include <QString>
#include <optional>

#include "core/compose/dailytotals.h"
#include "core/compose/nonmesures.h"
#include "core/compose/savedday.h"
#include "core/diagnosis/needs.h"

class Surface;

// What a drawing of the pages reads: the Daily totals of the day's choice,
// the Group needs and the group's name (the page title). A bilan of several
// saved days holds them too, and its totals are their mean.
struct DiagnosisData {
    DailyTotals totals;
    GroupNeeds needs;
    QString groupName;
    QString subtitle;          // a person's parameters, under the title; empty for a group
    NonMesures nonMesures;     // rates resting on values the Food table does not know
    QVector<SavedDay> jours;   // the days of a bilan of several days; empty for one day
};

// Coordinates of one drawing, screen or paper.
struct DiagLayout {
    bool paper = false;      // ModeImpression
    int s = 1;               // Echelle, the paper scale (1 on screen)
    int y0 = 10;             // top of row 0
    int h = 17;              // line height
    int sectionX = 10;       // section headings ("ÉNERGIE :", "MINÉRAUX-VITAMINES :")
    int leftLabelX = 40;     // left labels, advice, "(environ" texts are 10 units right of it
    int rightLabelX = 390;   // right labels, "(proportion idéale" 10 units right of it
    int intakeRight = 250;   // right edge of the intake numbers of page 1
    int needsRight = 580;    // right edge of the needs numbers of page 1
    int page2Base = -19;     // base row d of page 2

    // The screen layout: y0 10, h 17, page 2 moved up to row 2.
    static DiagLayout ecran();
    // The paper layout for a scale s; page 2 goes below nbConseils advice lines.
    static DiagLayout papier(int s, int nbConseils = 0);

    // y of a row.
    int rowY(int row) const { return y0 + row * h; }
    // A position that is the screen value times the scale on paper.
    int x(int screenValue) const { return paper ? screenValue * s : screenValue; }
    // The dotted leaders of page 1.
    int leaderA() const { return paper ? 150 * s : 153; }
    int leaderB() const { return paper ? 495 * s : 515; }
};

// Scale of the printed sheet: the page width in printer dots over the 640
// pixels of the window, to the nearest integer (halves to even), at least 1.
int Echelle(int pageWidthDots);

// A quotient that has a value: none when the divisor is 0 or the result is
// not a finite number, so that no page ever shows "inf" or "nan".
std::optional<double> quotient(double numerator, double denominator);
// The nearest integer of a value that has one (halves to even).
std::optional<long long> nearestOf(std::optional<double> value);

// What stands in a number's place when a value has none: a dash, justified
// like the number would be.
QString dash(int width);
// Fixed(w, d) of a value, or the dash.
QString fixedOrDash(std::optional<double> value, int width, int decimals);
// Int(w) of a value, or the dash.
QString intOrDash(std::optional<long long> value, int width);

// Formats the value as Fixed(w, d), measures that text alone and draws it
// followed by the suffix, so that the number ends exactly at x. A value that
// has none (or is not finite) draws the dash in the number's place.
void EcritValeur(Surface& surface, int w, int d, const QString& suffix, int y, int x,
                 std::optional<double> value);

// The title (group name in upper case, bold, underlined, red, at x 220) and,
// for page 1, its three section headings; then black, 10 points. The title
// takes the surface's font size as it stands when called.
void EnTetePage(Surface& surface, const DiagLayout& layout, const QString& groupName, int page);
// EnTetePage, then for a bilan of several days "Moyenne de n jours" under the
// title (bold, red); leaves the surface as EnTetePage does.
void EnTeteBilan(Surface& surface, const DiagLayout& layout, const DiagnosisData& data, int page);
// "Moyenne de n jours".
QString titreMoyenne(int jours);

// A person's parameters under the title, regular and black, on row 2 of
// page 1 (row 1 of page 2), from x 220 or as far left as it needs to end by
// x 600; nothing when empty.
void SousTitre(Surface& surface, const DiagLayout& layout, const QString& subtitle, int page);

// The text cut to fit the width, with "…" where it was cut.
QString fitToWidth(Surface& surface, QString text, int width);

// Blanks the page area of the window: a text of spaces at least 630 pixels
// wide, drawn with the opaque background at x 5 every 17 pixels from y 10
// while y < 460.
void EffacePage(Surface& surface);
