#include "bmi/indice.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include "ui/spinedit.h"
#include "core/bmi/indice.h"

TFIndice::TFIndice(QWidget* parent) : ModalWindow(parent, 64) {
    setObjectName(QStringLiteral("FIndice"));
    setWindowTitle(QStringLiteral("Indice de masse corporelle"));
    // A fixed dialog border with the system menu only: no resizing, no
    // minimize or maximize box.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(370, 348);

    LPoids = label("LPoids", QStringLiteral("Entrez votre poids (en kg)"), 56, 29);
    SEPoids = new SpinEdit(QStringLiteral("Poids"), 0, Indice::PoidsMaximum, this);
    SEPoids->setObjectName(QStringLiteral("SEPoids"));
    SEPoids->setGeometry(224, 24, 65, 22);
    LPoids->setBuddy(SEPoids);

    LTaille = label("LTaille", QStringLiteral("Entrez votre taille (en cm)"), 56, 80);
    SETaille = new SpinEdit(QStringLiteral("Taille"), 0, Indice::TailleMaximum, this);
    SETaille->setObjectName(QStringLiteral("SETaille"));
    SETaille->setGeometry(224, 72, 65, 22);
    LTaille->setBuddy(SETaille);

    LIndice = label("LIndice", QStringLiteral("Indice (P/T²) :"), 56, 128);
    EIndice = new QLineEdit(this);
    EIndice->setObjectName(QStringLiteral("EIndice"));
    EIndice->setGeometry(224, 124, 65, 21);
    EIndice->setReadOnly(true);
    QFont bold = EIndice->font();
    bold.setBold(true);
    EIndice->setFont(bold);

    Lmaigre = label("Lmaigre", QStringLiteral("De 0 à 18,5    :  maigre"), 56, 184);
    LNormal = label("LNormal", QStringLiteral("De 18,5 à 25  :  normal"), 56, 221);
    Lsurpoids = label("Lsurpoids", QStringLiteral("De 25 à 30  : surpoids"), 56, 259);
    Lobese = label("Lobese", QStringLiteral("Au-dessus de 30 : obésité"), 56, 296);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(232, 288, 57, 25);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    setTabOrder(SEPoids, SETaille);
    setTabOrder(SETaille, EIndice);
    setTabOrder(EIndice, BitBtn1);

    connect(SEPoids, &SpinEdit::Change, this, &TFIndice::SEPoidsChange);
    connect(SETaille, &SpinEdit::Change, this, &TFIndice::SEPoidsChange);
}

TFIndice::~TFIndice() = default;

QLabel* TFIndice::label(const char* name, const QString& text, int left, int top) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QLatin1String(name));
    l->move(left, top);
    l->adjustSize();
    return l;
}

void TFIndice::SEPoidsChange() {
    try {
        const Indice::Calcul c = Indice::calcule(SEPoids->text(), SETaille->text(), QLocale());
        if (c.vide) {
            EIndice->clear();
            return;
        }
        // A correction changes the text, which runs this handler again with
        // the capped value; this pass then goes on with the same values.
        if (Indice::nombreDe(SEPoids->text()) != c.poids) SEPoids->setValue(c.poids);
        if (Indice::nombreDe(SETaille->text()) != c.taille) SETaille->setValue(c.taille);
        EIndice->setText(c.texte);
        switch (c.classe) {
        case Indice::Classe::Maigre:
            metEnGras(Lmaigre);
            break;
        case Indice::Classe::Normal:
            metEnGras(LNormal);
            break;
        case Indice::Classe::Surpoids:
            metEnGras(Lsurpoids);
            break;
        case Indice::Classe::Obese:
            metEnGras(Lobese);
            break;
        }
    } catch (...) {
        // The dialog shows no message and keeps what it showed.
    }
}

void TFIndice::metEnGras(QLabel* classe) {
    for (QLabel* l : {Lmaigre, LNormal, Lsurpoids, Lobese}) {
        QFont f = l->font();
        f.setBold(l == classe);
        l->setFont(f);
        l->adjustSize();
    }
}
