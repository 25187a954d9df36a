// Renders every registered window into build/screenshots/<name>.png.
#include "screenshots.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>
#include <map>

#include "core/interfaces/prompter.h"
#include "core/schema/schema.h"
#include "support/scriptedprompter.h"

namespace {
QString g_outputDir;

std::map<QString, Shots::ShotFn>& registry() {
    static std::map<QString, Shots::ShotFn> r;
    return r;
}

// The tables a Data directory holds: the whole CIQUAL table is read where it
// is installed, never copied.
void copyTables(const QString& from, const QString& to) {
    QDir src(from);
    for (const QString& f : src.entryList(QDir::Files))
        if (f != ciqualSchema().fileName) QFile::copy(src.filePath(f), QDir(to).filePath(f));
}
}   // namespace

QString Shots::outputDir() { return g_outputDir; }

bool Shots::add(const char* name, ShotFn fn) {
    registry()[QString::fromLatin1(name)] = std::move(fn);
    return true;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    const QString outAbs = QDir(out).absolutePath();
    QDir().mkpath(outAbs);
    g_outputDir = outAbs;
    QTextStream err(stderr);
    for (auto& [name, fn] : registry()) {
        err << "== " << name << "\n";
        err.flush();
        QTemporaryDir dir;
        copyTables(QStringLiteral(NUTRIMO_TABLES_DIR), dir.path());
        QDir::setCurrent(dir.path());
        // No box may wait for a click here: boxes are answered by a script
        // and what they said is printed.
        Shots::Shot shot(dir.path());
        ScriptedPrompter& boxes = shot.boxes;
        try {
            fn(shot, [&](QWidget* w, const QString& shot) {
                w->show();
                QApplication::processEvents();
                const QString file = QDir(outAbs).filePath(shot + QStringLiteral(".png"));
                w->grab().save(file);
                err << "écrit " << file << "\n";
            });
        } catch (const std::exception& e) {
            err << name << ": " << e.what() << "\n";
        }
        for (const auto& a : boxes.asked) err << "  (" << a.what << ") " << a.text << "\n";
    }
    return 0;
}
