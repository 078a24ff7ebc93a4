#include "resources/pictures.h"

#include <QTest>

namespace {
using Accessor = const QImage& (*)();
}
Q_DECLARE_METATYPE(Accessor)

class PicturesTest : public QObject {
    Q_OBJECT
  private slots:
    void picture_data() {
        QTest::addColumn<Accessor>("accessor");
        QTest::addColumn<QSize>("size");
        QTest::newRow("bita") << &pictures::bita << QSize(28, 28);
        QTest::newRow("busa") << &pictures::busa << QSize(28, 28);
        QTest::newRow("notfound") << &pictures::notfound << QSize(200, 150);
        QTest::newRow("eesci") << &pictures::eesci << QSize(200, 150);
        QTest::newRow("eexit") << &pictures::eexit << QSize(200, 150);
        QTest::newRow("vetrinova") << &pictures::vetrinova << QSize(64, 64);
    }
    void picture() {
        QFETCH(Accessor, accessor);
        QFETCH(QSize, size);
        const QImage& first = accessor();
        QVERIFY(!first.isNull());
        QCOMPARE(first.size(), size);
        // Loaded once: later calls hand back the very same image.
        QCOMPARE(&accessor(), &first);
    }

    void picturesAreDistinct() {
        // Each accessor reaches its own resource: the two exit cells and the two flags differ.
        QVERIFY(pictures::eesci() != pictures::eexit());
        QVERIFY(pictures::bita() != pictures::busa());
    }

    void flagsShowTheirColours() {
        // Italian flag: green on the left, red on the right; United States: blue canton top left.
        const QImage& ita = pictures::bita();
        const QColor left = ita.pixelColor(4, 14), right = ita.pixelColor(23, 14);
        QVERIFY(left.green() > left.red() && left.green() > left.blue());
        QVERIFY(right.red() > right.green() && right.red() > right.blue());
        QCOMPARE(ita.pixelColor(14, 14), QColor(Qt::white));
        const QColor canton = pictures::busa().pixelColor(1, 4);
        QVERIFY(canton.blue() > canton.red() && canton.blue() > canton.green());
    }
};

QTEST_GUILESS_MAIN(PicturesTest)
#include "pictures_test.moc"
