// Screenshots of the application shell: the main window (alone and with the
// Diagnostic submenu open), the open/save dialog in both modes, the help viewer.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <memory>

#include "app/demarrage.h"
#include "app/diet.h"
#include "app/helpviewer.h"
#include "app/ouvrir.h"
#include "screenshots.h"
#include "core/session/session.h"
#include <QDir>
#include "ui/help.h"

namespace {

// The shell's windows for one shot, on the shot's Session.
struct Shell {
    Shots::Shot& shot;
    Session& session = shot.session;
    std::unique_ptr<TFdiet> diet;
    explicit Shell(Shots::Shot& s) : shot(s), diet(Demarrage::creeFenetres(s.session, s.desktop)) {}
    ~Shell() {
        delete HelpViewer::of(shot.desktop);
        diet.reset();
    }
};

void saveDays(const QString& dataDir) {
    for (const char* name : {"lundi.dat", "mardi.dat", "semaine1.dat", "Dimanche.DAT"})
        QFile::copy(QDir(dataDir).filePath("CHOIX.DBF"), QDir(dataDir).filePath(QLatin1String(name)));
}

// Shows a menu (and submenu) at its place under the menu bar and paints the
// popups over the window's picture, as they would appear on screen.
QPixmap withMenus(TFdiet* diet, const QList<QPair<QMenu*, QAction*>>& chain) {
    diet->show();
    QApplication::processEvents();
    QPixmap shot = diet->grab();
    QPainter p(&shot);
    QPoint at = diet->menuBar()->actionGeometry(diet->Fichier1->menuAction()).bottomLeft() +
                diet->menuBar()->pos() + QPoint(0, 1);
    for (const auto& [menu, highlighted] : chain) {
        menu->popup(diet->mapToGlobal(at));
        if (highlighted) menu->setActiveAction(highlighted);
        QApplication::processEvents();
        p.drawPixmap(at, menu->grab());
        if (highlighted) at += menu->actionGeometry(highlighted).topRight() + QPoint(-4, -3);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) it->first->hide();
    return shot;
}

}   // namespace

NUTRIMO_SHOT(app_main_window, [](Shots::Shot& shot, const Shots::SaveFn& save) {
    Shell shell(shot);
    save(shell.diet.get(), QStringLiteral("app-main-window"));
});

NUTRIMO_SHOT(app_main_window_diagnostic, [](Shots::Shot& shot, const Shots::SaveFn& save) {
    Shell shell(shot);
    TFdiet* d = shell.diet.get();
    d->DiagClick(d->Groupes[13]);   // "Femme active" checked (the window is not shown)
    shot.desktop.prepares = false;
    shot.desktop.onRun = [](QDialog&) {};
    d->DiagClick(d->Groupes[13]);
    QLabel picture;
    picture.setPixmap(
        withMenus(d, {{d->Fichier1, d->Diagnostic1->menuAction()}, {d->Diagnostic1, d->Groupes[13]}}));
    picture.resize(picture.pixmap().size());
    save(&picture, QStringLiteral("app-main-window-diagnostic"));
});

NUTRIMO_SHOT(app_ouvrir, [](Shots::Shot& shot, const Shots::SaveFn& save) {
    const QString& dataDir = shot.dir;
    saveDays(dataDir);
    Shell shell(shot);
    TFouvrir* o = shell.diet->Fouvrir;
    shell.session.ModeEnregistrer = true;
    o->show();
    o->Eouvrir->setText(QStringLiteral("jeudi.dat"));
    save(o, QStringLiteral("app-ouvrir-enregistrer"));
    o->hide();
    shell.session.ModeEnregistrer = false;
    o->show();
    o->FLBouvrir->item(2)->setSelected(true);
    save(o, QStringLiteral("app-ouvrir-ouvrir"));
    o->hide();
});

NUTRIMO_SHOT(app_help_viewer, [](Shots::Shot& shot, const Shots::SaveFn& save) {
    Shell shell(shot);
    shot.desktop.showHelp(25);
    save(HelpViewer::of(shot.desktop), QStringLiteral("app-help-viewer"));
    shot.desktop.showHelp(0);
    save(HelpViewer::of(shot.desktop), QStringLiteral("app-help-index"));
});
