// Presentation files with fields of any length and counts far beyond their pictures: opening,
// presenting and editing stay within a bounded amount of memory, a folder line too long for
// a path is named shortened, and nothing is saved that cannot be read back.
#include "bench/bench_table.h"
#include "common/testfiles.h"
#include "common/testseams.h"
#include "logic/state/globali.h"
#include "windows/dialogs/cart_spo.h"
#include "windows/editor/fin_edita.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/mostra_pict.h"
#include "windows/presentation/presentation.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include <QFile>
#include <QTest>
#include <memory>

using namespace Globali;

namespace {

// Starts counting the peak afresh from what the process uses now.
bool resetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1 && refs.flush();
}

// A presentation file: folder line, strip at the left, 10 %, notes displayed, `count`, and
// the note blocks.
QByteArray showFile(const QByteArray& folder, const QByteArray& count, const QByteArray& notes) {
    return folder + "\r0\r10\r" + QByteArray("0.5\r").repeated(21) + "1\r1\r3\r" + count + '\r' +
           notes;
}
QByteArray noteBlock(const QByteArray& text) {
    return text + "\rLiberation Sans\r20\r0\r0\r0\r0\r0\r\r\r\r\r\r";
}

} // namespace

class LongFieldsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<WindowFixture> fixture;
    QString pictures;

    QString write(const QByteArray& bytes) {
        return testfiles::written(fixture->dir, "show.v69", bytes);
    }

  private slots:
    void init() {
        fixture = std::make_unique<WindowFixture>();
        start::instance()->Show();
        pictures = fixture->makeFolder("pics", 3, QSize(40, 30));
    }
    void cleanup() { fixture.reset(); }

    void memoryStaysBounded_data() {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<int>("megabytes");
        QTest::addColumn<int>("limitMb");
        QTest::newRow("count 2^31-1, 13 MB of empty lines") << "empty lines" << 13 << 100 + 3 * 13;
        QTest::newRow("a 64 MB note, presented and edited") << "note" << 64 << 100 + 3 * 64;
        QTest::newRow("a 50 MB folder line") << "folder" << 50 << 200;
    }
    void memoryStaysBounded() {
        QFETCH(QString, shape);
        QFETCH(int, megabytes);
        QFETCH(int, limitMb);
        const qsizetype size = qsizetype(megabytes) * 1024 * 1024;
        const QByteArray folder =
            shape == "folder" ? "/" + QByteArray(size, 'x') : pictures.toUtf8();
        const QString path =
            write(shape == "empty lines" ? showFile(folder, "2147483647", QByteArray(size, '\r'))
                  : shape == "note"      ? showFile(folder, "3", noteBlock(QByteArray(size, 'w')))
                                         : showFile(folder, "3", {}));
        if (!resetPeak()) QSKIP("the kernel's peak memory cannot be reset here");
        const double base = bench::residentMB();
        apri_presentazione(path);
        if (shape == "folder") {
            // Not a path: named, shortened in the middle, as a missing folder.
            cart_spo* warning = fw::Single<cart_spo>::peek();
            QVERIFY(warning && warning->StaticText2->text().contains(QChar(0x2026)));
            QVERIFY(warning->StaticText2->text().size() < 100);
            // Both ends of the folder's name are seen: its line fits the warning's width.
            const QString nameLine = warning->StaticText1->text().split('\r').value(1);
            QVERIFY2(QFontMetrics(warning->StaticText1->textFont()).horizontalAdvance(nameLine) <=
                         warning->StaticText1->width(),
                     qPrintable(nameLine));
        } else {
            QCOMPARE(quantidisegni, 3);
            QVERIFY(contorno.ubound1() <= 3);
            // Shown and edited in part; stored whole.
            thumb_per = 100;
            QVERIFY(presentation::startPresentation());
            mostra_pict(1);
            QVERIFY(fw::Single<fin_pict>::peek()->StaticText1->text().size() <= 4097);
            presentation::endPresentation();
            QCOMPARE(fixture->openEditor()->EditField1->text().size(), shape == "note" ? 4096 : 0);
            QCOMPARE(contorno(1, 0).size(), shape == "note" ? size : 0);
        }
        const int used = int(bench::peakMB() - base);
        qInfo("%s: %d MB above the base", qPrintable(shape), used);
        QVERIFY2(used <= limitMb || !testfiles::kPeaksMeasured,
                 qPrintable(QString("%1 MB").arg(used)));
    }

    void bareFolderNameIsFoundBesideTheFile() {
        apri_presentazione(write(showFile("pics", "3", {})));
        QCOMPARE(cartella, pictures);
        QCOMPARE(quantidisegni, 3);
    }

    void saveRefusesAFolderNameWithALineBreak() {
        fixture->importFolder(fixture->makeFolder("two\nlines", 1));
        QCOMPARE(quantidisegni, 1);
        const QString old = write("precious\r");
        fixture->saveTo(old);
        QCOMPARE(fixture->seams.errors.size(), 1);
        QVERIFY2(fixture->seams.errors[0].contains("has a line break in its name"),
                 qPrintable(fixture->seams.errors[0]));
        QCOMPARE(fixture->seams.saveFiles.size(), size_t(1)); // no file was even asked for
        QCOMPARE(testfiles::readAll(old), QByteArray("precious\r"));
    }
};

QTEST_MAIN(LongFieldsTest)
#include "long_fields_test.moc"
