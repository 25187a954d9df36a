#pragma once
// FoodWindow: what the consultation and editing windows share: a fixed
// 378 × 315 window with a strip of commands on top and, below, a sunken panel
// holding the field boxes, the category box and the sort frame.
#include <QRadioButton>

#include "core/foodtable/foodbrowser.h"
#include "core/foodtable/foodorigins.h"
#include "ui/modalwindow.h"

class IconButton;
class QGroupBox;
class QLabel;
class QPushButton;
class Table;

class FoodWindow : public ModalWindow {
    Q_OBJECT
public:
    static constexpr int kWidth = 378, kHeight = 315, kStripHeight = 41;

    // Under the category box: where the current food's values come from
    // ("CIQUAL 2020, code 13039"), empty for a food typed in by hand.
    QLabel* Lorigine = nullptr;

protected:
    FoodWindow(QWidget* parent, int helpContext, const QString& caption);

    // The strip and the area the field boxes are placed in.
    QWidget* strip() const { return m_strip; }
    QWidget* body() const { return m_body; }
    QPushButton* creeBquitter(int left, int width);
    // A 25 × 25 picture button of the strip, with its hint.
    IconButton* creeBouton(const char* name, const QIcon& icon, const QString& hint, int left);
    // The frame "Tri par :" and its three buttons (not items of the frame),
    // at their own places; RBnumero selected.
    struct SortFrame {
        QGroupBox* frame;
        QRadioButton* numero;
        QRadioButton* nom;
        QRadioButton* categorie;
    };
    SortFrame creeTri(QPoint numero, QPoint nom, QPoint categorie, int width, const char* nomName,
                      const char* categorieName);
    // The radio button of an order.
    QRadioButton* bouton(FoodBrowser::Tri tri) const;
    // The origin line follows the current food of t.
    void suitOrigine(Table& t);
    // Reads the origins of the Data directory again when their file changed
    // (each showing, and after each step that may have written a food: a
    // renamed food keeps its origin).
    void relitOrigines();
    // A box's background, kept by its palette.
    static void setBackground(QWidget* w, QPalette::ColorRole role);
    static void setBackground(QWidget* w, const QColor& color);

private:
    QWidget* m_strip = nullptr;
    QWidget* m_body = nullptr;
    SortFrame m_tri{};
    Table* m_origineDe = nullptr;
    FoodOrigins m_origines;
    QString m_originesVues;   // the side table's file as last read: size and time
    void afficheOrigine();
};
