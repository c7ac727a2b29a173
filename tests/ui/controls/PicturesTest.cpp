#include <QtTest>
#include <cmath>

#include "ui/controls/Pictures.h"

using namespace corvanta;

namespace {

// The lowest contrast ratio (from relative luminance) of `text` against the
// pixels of `area`: 4.5 and above reads well.
double WorstContrast(const QImage& image, const QRect& area, const QColor& text) {
    auto luminance = [](const QColor& c) {
        auto linear = [](int v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
    };
    const double lt = luminance(text);
    double worst = 100;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const double lp = luminance(image.pixelColor(x, y));
            worst = std::min(worst, (std::max(lt, lp) + 0.05) / (std::min(lt, lp) + 0.05));
        }
    return worst;
}

}  // namespace

class PicturesTest : public QObject {
    Q_OBJECT

  private slots:
    void faces_data() {
        QTest::addColumn<int>("look");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("dpr");
        QTest::addColumn<QColor>("caption");
        const int page = int(ButtonLook::Page), action = int(ButtonLook::Action);
        const QColor navy(0, 0, 128);
        QTest::newRow("page") << page << QSize(122, 22) << 1 << QColor(Qt::white);
        QTest::newRow("page, 2x") << page << QSize(122, 22) << 2 << QColor(Qt::yellow);
        QTest::newRow("f(x)") << action << QSize(25, 22) << 1 << navy;
        QTest::newRow("apply, 2x") << action << QSize(70, 22) << 2 << navy;
        QTest::newRow("palette, 2x") << int(ButtonLook::Palette) << QSize(50, 22) << 2 << navy;
    }
    void faces() {
        QFETCH(int, look);
        QFETCH(QSize, size);
        QFETCH(int, dpr);
        QFETCH(QColor, caption);
        const ButtonFaces faces = PaintButtonFaces(size, ButtonLook(look), dpr);
        for (const QPixmap& face : {faces.IdleOff, faces.IdleOn, faces.Down}) {
            QCOMPARE(face.size(), size * dpr);
            QCOMPARE(face.devicePixelRatio(), qreal(dpr));
            const QImage image = face.toImage();
            const int w = image.width(), h = image.height();
            QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
            QCOMPARE(image.pixel(w - 1, h - 1), qRgb(255, 255, 255));
            // White only near the corners and only in whole logical pixels:
            // a partly white one would sit inside the button's shape as a
            // light fringe.
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const bool white = image.pixel(x, y) == qRgb(255, 255, 255);
                    const bool cellWhite =
                        image.pixel(x - x % dpr, y - y % dpr) == qRgb(255, 255, 255);
                    const int lx = x / dpr, ly = y / dpr;
                    const bool corner =
                        (lx < 3 || lx >= size.width() - 3) && (ly < 3 || ly >= size.height() - 3);
                    QVERIFY2(white == cellWhite && (!white || corner),
                             qPrintable(QString("%1, %2").arg(x).arg(y)));
                }
            const QRect inside(2 * dpr, 2 * dpr, w - 4 * dpr, h - 4 * dpr);
            QVERIFY(WorstContrast(image, inside, caption) >= 4.5);
        }
        const QPoint middle(size.width() * dpr / 2, size.height() * dpr / 2);
        const QColor off = faces.IdleOff.toImage().pixelColor(middle);
        QVERIFY(faces.IdleOn.toImage().pixelColor(middle) != off);
        QVERIFY(faces.Down.toImage().pixelColor(middle) != off);
    }

    void backdrops_data() {
        QTest::addColumn<QPixmap>("picture");
        QTest::addColumn<QSize>("deviceSize");
        QTest::addColumn<QColor>("text");
        const QSize page(426, 481);
        const QColor white(Qt::white), navy(0, 0, 128);
        QTest::newRow("page") << PaintPageBackground(page, 1) << page << white;
        QTest::newRow("page, 2x") << PaintPageBackground(page, 2) << page * 2 << white;
        QTest::newRow("top bar, 2x") << PaintTopBar({430, 33}, 2) << QSize(860, 66) << white;
        QTest::newRow("panel, 2x")
            << PaintPanelBackground({215, 252}, 2) << QSize(430, 504) << navy;
    }
    void backdrops() {
        QFETCH(QPixmap, picture);
        QFETCH(QSize, deviceSize);
        QFETCH(QColor, text);
        QCOMPARE(picture.size(), deviceSize);
        // Text reads everywhere inside the one-pixel edge.
        const QImage image = picture.toImage();
        const int edge = int(picture.devicePixelRatio());
        QVERIFY(WorstContrast(image, image.rect().adjusted(edge, edge, -edge, -edge), text) >= 4.5);
    }
};

QTEST_MAIN(PicturesTest)
#include "PicturesTest.moc"
