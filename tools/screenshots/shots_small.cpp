// Screenshots of the small windows: the body-mass-index dialog with a
// weight and a height entered, the About box, and the print dialog with
// Qt's texts in French, as the program shows it.
#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>

#include "app/application.h"
#include "app/aprop.h"
#include "bmi/indice.h"
#include "ui/spinedit.h"
#include "screenshots.h"

NUTRIMO_SHOT(small_indice, [](Shots::Shot&, const Shots::SaveFn& save) {
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    TFIndice d;
    d.SEPoids->setText(QStringLiteral("72,5"));   // decimals, with either separator
    d.SETaille->setValue(175);
    save(&d, QStringLiteral("small-indice"));
    d.hide();
    QLocale::setDefault(QLocale::system());
});

NUTRIMO_SHOT(small_aprop, [](Shots::Shot& shot, const Shots::SaveFn& save) {
    TFAprop_gg d(shot.desktop);
    save(&d, QStringLiteral("small-aprop"));
    d.Timer1Timer();
    d.Timer1Timer();
    save(&d, QStringLiteral("small-aprop-image3"));
    d.hide();
});

NUTRIMO_SHOT(small_print_dialog, [](Shots::Shot& shot, const Shots::SaveFn& save) {
    const QString& dataDir = shot.dir;
    static const bool french = NutrimoApplication::loadQtFrench(*qApp);
    (void)french;
    QPrinter printer;
    printer.setOutputFileName(dataDir + QStringLiteral("/apercu.pdf"));
    QPrintDialog d(&printer);
    save(&d, QStringLiteral("small-print-dialog"));
    d.hide();
});
