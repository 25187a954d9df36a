#include "foodtable/foodwindow.h"

#include <QButtonGroup>
#include <QDateTime>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "core/io/datadirectory.h"
#include "core/schema/schema.h"
#include "core/table/table.h"
#include "ui/iconbutton.h"

namespace {
// The panel's outer bevel, border and inner bevel before the boxes' area.
constexpr int kBevel = 1, kBorder = 4;
}

FoodWindow::FoodWindow(QWidget* parent, int helpContext, const QString& caption)
    : ModalWindow(parent, helpContext) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kWidth, kHeight);
    QFont f = font();
    f.setFamilies(
        {QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    // The design's 8 points of MS Sans Serif: the faces found here are wider,
    // so a little smaller keeps each label over its own box.
    f.setPointSizeF(7.5);
    setFont(f);

    m_strip = new QWidget(this);
    m_strip->setObjectName(QStringLiteral("Panel1"));
    m_strip->setGeometry(0, 0, kWidth, kStripHeight);
    m_strip->setAutoFillBackground(true);

    auto* outer = new QFrame(this);
    outer->setObjectName(QStringLiteral("Panel2"));
    outer->setFrameStyle(QFrame::Panel | QFrame::Raised);
    outer->setLineWidth(kBevel);
    outer->setGeometry(0, kStripHeight, kWidth, kHeight - kStripHeight);
    auto* inner = new QFrame(outer);
    inner->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    inner->setLineWidth(kBevel);
    const int in = kBevel + kBorder;
    inner->setGeometry(in, in, outer->width() - 2 * in, outer->height() - 2 * in);
    m_body = new QWidget(inner);
    m_body->setObjectName(QStringLiteral("ScrollBox1"));
    m_body->setGeometry(kBevel, kBevel, inner->width() - 2 * kBevel, inner->height() - 2 * kBevel);
}

QPushButton* FoodWindow::creeBquitter(int left, int width) {
    auto* b = new QPushButton(QStringLiteral("&Quitter"), m_strip);
    b->setObjectName(QStringLiteral("Bquitter"));
    b->setGeometry(left, 7, width, 26);
    // Return in a box must not close the window.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

IconButton* FoodWindow::creeBouton(const char* name, const QIcon& icon, const QString& hint, int left) {
    auto* b = new IconButton(icon, hint, m_strip);
    b->setObjectName(QLatin1String(name));
    b->setFixedSize(25, 25);
    b->setIconSize(QSize(19, 19));
    b->move(left, 8);
    return b;
}

FoodWindow::SortFrame FoodWindow::creeTri(QPoint numero, QPoint nom, QPoint categorie, int width,
                                          const char* nomName, const char* categorieName) {
    m_tri.frame = new QGroupBox(QStringLiteral("Tri par :"), m_body);
    m_tri.frame->setObjectName(QStringLiteral("RGtri"));
    m_tri.frame->setGeometry(244, 168, 100, 83);
    auto radio = [&](const QString& text, const char* name, QPoint at) {
        auto* r = new QRadioButton(text, m_body);
        r->setObjectName(QLatin1String(name));
        r->setGeometry(at.x(), at.y(), width, 17);
        return r;
    };
    m_tri.numero = radio(QStringLiteral("Numér&o"), "RBnumero", numero);
    m_tri.nom = radio(QStringLiteral("&Nom"), nomName, nom);
    m_tri.categorie = radio(QStringLiteral("&Catégorie"), categorieName, categorie);
    auto* group = new QButtonGroup(this);
    group->addButton(m_tri.numero);
    group->addButton(m_tri.nom);
    group->addButton(m_tri.categorie);
    m_tri.numero->setChecked(true);
    return m_tri;
}

void FoodWindow::suitOrigine(Table& t) {
    m_origineDe = &t;
    Lorigine = new QLabel(m_body);
    Lorigine->setObjectName(QStringLiteral("Lorigine"));
    Lorigine->setGeometry(6, 246, 184, 14);
    const auto suit = [this] { afficheOrigine(); };
    connect(&t, &Table::currentChanged, this, suit);
    connect(&t, &Table::rowChanged, this, suit);
    connect(&t, &Table::layoutReset, this, suit);
}

void FoodWindow::relitOrigines() {
    if (!m_origineDe) return;
    const QFileInfo file(DataDirectory::resolveIn(m_origineDe->directory(), originsSchema().fileName));
    const QString seen =
        file.exists() ? QStringLiteral("%1 %2").arg(file.size()).arg(file.lastModified().toMSecsSinceEpoch())
                      : QString();
    if (seen != m_originesVues) {
        m_origines = FoodOrigins::read(m_origineDe->directory());
        m_originesVues = seen;
    }
    afficheOrigine();
}

void FoodWindow::afficheOrigine() {
    Table& t = *m_origineDe;
    const bool food = t.isOpen() && !t.isEmpty() && t.state() != Table::State::Insert;
    Lorigine->setText(
        food ? m_origines.textOf(t.asFloat(QStringLiteral("NUMERO")), t.asString(QStringLiteral("NOM")))
             : QString());
}

QRadioButton* FoodWindow::bouton(FoodBrowser::Tri tri) const {
    switch (tri) {
    case FoodBrowser::Tri::Numero:
        return m_tri.numero;
    case FoodBrowser::Tri::Nom:
        return m_tri.nom;
    case FoodBrowser::Tri::Categorie:
        return m_tri.categorie;
    }
    return m_tri.numero;
}

void FoodWindow::setBackground(QWidget* w, QPalette::ColorRole role) {
    setBackground(w, w->palette().color(role));
}

void FoodWindow::setBackground(QWidget* w, const QColor& color) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, color);
    p.setColor(QPalette::Window, color);
    w->setPalette(p);
}
