#include "compose/voir.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "core/schema/numformat.h"
#include "ui/fieldbox.h"
#include "ui/fieldgrid.h"
#include "ui/help.h"
#include "ui/iconbutton.h"
#include "ui/icons.h"

namespace {
constexpr int kWidth = 378, kHeight = 211;
constexpr int kRowStep = 41, kLabelHeight = 13, kBoxHeight = 21, kMargin = 4;

struct Box {
    const char* label;
    const char* field;   // nullptr: the energy box
    int width;
};

// Five rows, left to right; the widths fill the 378 pixels of a row.
const QVector<QVector<Box>>& rows() {
    static const QVector<QVector<Box>> r = {
        {{"NOM", "NOM", 128},
         {"KCAL.", nullptr, 40},
         {"PROT.A", "PROT_A", 46},
         {"PROT.V", "PROT_V", 46},
         {"GLUC.S", "GLUC_S", 46},
         {"GLUC.A", "GLUC_A", 46}},
        {{"LIPI. A", "LIPI_A", 58},
         {"LIPI. V", "LIPI_V", 58},
         {"A.G.SAT", "A_G_SAT", 58},
         {"A.G.MONO", "A_G_MONO", 58},
         {"A.G.POLY", "A_G_POLY", 58},
         {"CHOLEST", "CHOLEST", 58}},
        {{"CA", "CA", 42},
         {"MG", "MG", 42},
         {"PH", "PH", 42},
         {"FE", "FE", 42},
         {"ZN", "ZN", 42},
         {"I", "I", 42},
         {"CL", "CL", 42},
         {"S", "S", 42}},
        {{"MN", "MN", 42},
         {"CU", "CU", 42},
         {"NA", "NA", 42},
         {"K", "K", 42},
         {"VIT. A", "VIT_A", 42},
         {"VIT. B1", "VIT_B1", 42},
         {"VIT. B2", "VIT_B2", 42},
         {"VIT. B6", "VIT_B6", 42}},
        {{"VIT. B9", "VIT_B9", 42},
         {"VIT. C", "VIT_C", 42},
         {"VIT. D", "VIT_D", 42},
         {"VIT. PP", "VIT_PP", 42},
         {"FIBRES", "FIBRES", 42}},
    };
    return r;
}
}   // namespace

TFvoir::TFvoir(Table& talim, QWidget* parent) : ModalWindow(parent, 49), m_talim(talim) {
    setWindowTitle(QStringLiteral("Aliment choisi : détail"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kWidth, kHeight);
    QFont small = font();
    small.setPointSizeF(7.5);
    setFont(small);

    // Five rows, left to right, each box under its label.
    QVector<FieldCell> cells;
    for (int r = 0; r < rows().size(); ++r) {
        int x = kMargin;
        const int y = kMargin + r * kRowStep;
        for (const Box& b : rows()[r]) {
            const QString field = b.field ? QString::fromLatin1(b.field) : QString();
            cells << FieldCell{QString::fromUtf8(b.label),
                               field,
                               b.field ? QStringLiteral("Edit") + field : QStringLiteral("EKCAL"),
                               x,
                               y + kLabelHeight + 1,
                               b.width,
                               QString()};
            x += b.width + 2;
        }
    }
    FieldGrid::Metrics metrics;
    metrics.boxHeight = kBoxHeight;
    metrics.labelAbove = kLabelHeight + 1;
    metrics.labelHeight = kLabelHeight;
    metrics.labelAsWide = true;
    m_grid = std::make_unique<FieldGrid>(this, cells, metrics);
    EKCAL = m_grid->box(QStringLiteral("EKCAL"));
    SBsortir = new IconButton(Icons::sortir(), QStringLiteral("Sortir"), this);
    SBsortir->setObjectName(QStringLiteral("SBsortir"));
    SBsortir->move(kWidth - kMargin - SBsortir->width(), kHeight - kMargin - SBsortir->height());
    connect(SBsortir, &QToolButton::clicked, this, &TFvoir::SBsortirClick);

    // FormCreate: bound to the food handle it shows.
    bindBoxes();
}

TFvoir::~TFvoir() = default;

void TFvoir::bindBoxes() {
    // NOM, then PROT_A ... FIBRES, in the order of the rows. The food handle
    // declares no display format: general format.
    m_grid->bind(&m_talim);
}

FieldBox* TFvoir::box(const QString& field) const { return m_grid->fieldBox(field); }

QString TFvoir::texteEnergie(double energie) { return NumFormat::Int(NumFormat::Nearest(energie), 4); }

void TFvoir::placeBoxes() {
    // Each box keeps its drawn width when its value fits and grows to hold it
    // whole when it does not; the boxes after it in the row move along, and
    // the window grows to the widest row.
    int right = kWidth - kMargin;
    for (int r = 0; r < rows().size(); ++r) {
        int x = kMargin;
        for (const Box& b : rows()[r]) {
            const QString name = b.field ? QString::fromLatin1(b.field) : QStringLiteral("EKCAL");
            QLineEdit* e = m_grid->box(name);
            const int w = std::max(b.width, FieldBox::widthFor(e, e->text()));
            e->setGeometry(x, e->y(), w, e->height());
            if (QLabel* l = m_grid->label(name)) l->setGeometry(x, l->y(), w, l->height());
            x += w + 2;
        }
        right = std::max(right, x - 2);
    }
    const int width = right + kMargin;
    setFixedSize(width, kHeight);
    SBsortir->move(width - kMargin - SBsortir->width(), kHeight - kMargin - SBsortir->height());
}

bool TFvoir::FormShow() {
    EKCAL->setText(texteEnergie(m_energie));
    for (QLineEdit* b : m_grid->boxes())
        if (auto* fb = qobject_cast<FieldBox*>(b)) fb->refresh();
    placeBoxes();
    return true;
}

void TFvoir::SBsortirClick() { accept(); }
