// The program's pictures: every SVG file among the resources is valid and
// declares the size of its drawing area; every button picture loads, draws
// at the size its button asks for and greys when disabled; the main
// window's picture covers its whole 295 x 223 area.
#include <QDir>
#include <QImage>
#include <QSvgRenderer>
#include <QtTest>
#include <functional>

#include "app/imageaccueil.h"
#include "ui/glyphs.h"
#include "ui/icons.h"

Q_DECLARE_METATYPE(std::function<QIcon()>)

namespace {
using IconFn = std::function<QIcon()>;

// The strongest colour of an image: the largest spread between the red,
// green and blue of any visible pixel (0 for greys only).
int strongestColour(const QImage& image) {
    int best = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) < 128) continue;
            const int hi = std::max({qRed(p), qGreen(p), qBlue(p)});
            const int lo = std::min({qRed(p), qGreen(p), qBlue(p)});
            best = std::max(best, hi - lo);
        }
    return best;
}

int visiblePixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += qAlpha(image.pixel(x, y)) > 0;
    return n;
}

QImage render(const QIcon& icon, int size, QIcon::Mode mode, QIcon::State state = QIcon::Off) {
    return icon.pixmap(QSize(size, size), 1.0, mode, state).toImage().convertToFormat(QImage::Format_ARGB32);
}
}   // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    // Each file is well-formed SVG whose declared size matches its drawing
    // area, so that it draws undistorted at its own size.
    void everyFileIsValidSvg_data() {
        QTest::addColumn<QString>("path");
        const QDir dir(QFileInfo(Icons::picture(QStringLiteral("accueil.svg"))).path());
        const QStringList files = dir.entryList({QStringLiteral("*.svg")}, QDir::Files);
        QVERIFY2(files.size() >= 18, qPrintable(QStringLiteral("%1 pictures found").arg(files.size())));
        for (const QString& f : files) QTest::newRow(qPrintable(f)) << dir.filePath(f);
    }
    void everyFileIsValidSvg() {
        QFETCH(QString, path);
        QSvgRenderer svg(path);
        QVERIFY(svg.isValid());
        QVERIFY(!svg.defaultSize().isEmpty());
        QCOMPARE(svg.viewBoxF(), QRectF(QPointF(0, 0), QSizeF(svg.defaultSize())));
    }

    // The buttons' pictures, at the size their buttons show them: drawn (not
    // empty), in colour when enabled and greyed when disabled.
    void buttonPictures_data() {
        QTest::addColumn<IconFn>("icon");
        QTest::addColumn<int>("size");
        QTest::newRow("sortir") << IconFn(Icons::sortir) << 32;
        QTest::newRow("ajouter") << IconFn(Icons::ajouter) << 32;
        QTest::newRow("supprimer") << IconFn(Icons::supprimer) << 32;
        QTest::newRow("modifier") << IconFn(Icons::modifier) << 32;
        QTest::newRow("effacer") << IconFn(Icons::effacer) << 32;
        QTest::newRow("consulter") << IconFn(Icons::consulter) << 32;
        QTest::newRow("imprimer") << IconFn(Icons::imprimer) << 32;
        QTest::newRow("renommer") << IconFn(Icons::renommer) << 32;
        QTest::newRow("application") << IconFn(Icons::application) << 32;
        QTest::newRow("application, large") << IconFn(Icons::application) << 256;
        QTest::newRow("page 1") << IconFn([] { return Glyphs::page(1); }) << 16;
        QTest::newRow("page 2") << IconFn([] { return Glyphs::page(2); }) << 16;
        QTest::newRow("page 3") << IconFn([] { return Glyphs::page(3); }) << 16;
        QTest::newRow("glyph imprimer") << IconFn(Glyphs::print) << 16;
        QTest::newRow("glyph sortir") << IconFn(Glyphs::exit) << 16;
    }
    void buttonPictures() {
        QFETCH(IconFn, icon);
        QFETCH(int, size);
        const QIcon i = icon();
        QVERIFY(!i.isNull());
        const QImage normal = render(i, size, QIcon::Normal);
        const QImage disabled = render(i, size, QIcon::Disabled);
        QCOMPARE(normal.size(), QSize(size, size));
        QCOMPARE(disabled.size(), QSize(size, size));
        // A picture fills a fair part of its square, whatever its shape.
        QVERIFY2(visiblePixels(normal) > size * size / 8, "picture (almost) empty");
        QVERIFY(normal != disabled);
        QVERIFY2(strongestColour(normal) > 40, "enabled picture without colour");
        QVERIFY2(strongestColour(disabled) <= 16, "disabled picture not greyed");
    }

    // The page buttons stay down while their page is shown: a checked
    // button shows the same glyph, in both states, as an unchecked one.
    void glyphsLookTheSameChecked_data() {
        QTest::addColumn<IconFn>("icon");
        QTest::newRow("page 1") << IconFn([] { return Glyphs::page(1); });
        QTest::newRow("page 2") << IconFn([] { return Glyphs::page(2); });
        QTest::newRow("page 3") << IconFn([] { return Glyphs::page(3); });
    }
    void glyphsLookTheSameChecked() {
        QFETCH(IconFn, icon);
        const QIcon i = icon();
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled})
            QCOMPARE(render(i, 16, mode, QIcon::On), render(i, 16, mode, QIcon::Off));
    }

    void pagesDiffer() {
        QVERIFY(render(Glyphs::page(1), 16, QIcon::Normal) != render(Glyphs::page(2), 16, QIcon::Normal));
        QVERIFY(render(Glyphs::page(3), 16, QIcon::Normal) != render(Glyphs::page(2), 16, QIcon::Normal));
        QVERIFY(Glyphs::page(4).isNull());
    }

    // The main window's picture is opaque all over: the label shows it on
    // the window's background and nothing of that may show through.
    void mainWindowPicture() {
        const QPixmap pm = imageAccueil();
        QVERIFY(!pm.isNull());
        QCOMPARE(pm.size(), QSize(295, 223));
        const QImage image = pm.toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) != 255)
                    QFAIL(qPrintable(QStringLiteral("transparent pixel at %1, %2").arg(x).arg(y)));
        QVERIFY(strongestColour(image) > 80);
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
