// Every picture the fuzzer ever kept (fuzz/regressions/picture/): whatever it once did under
// the sanitizers, the program as shipped probes it and decodes or refuses it within its
// promise of time and memory, each step in a process of its own.
#include "bench/child_peak.h"
#include "bench/hostile_pictures.h"
#include "common/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class FuzzFoundTest : public QObject {
    Q_OBJECT
    QTemporaryDir warm;
  private slots:
    void initTestCase() {
        if (!testfiles::kPeaksMeasured)
            QSKIP("time and memory are promised by the release build, not the sanitizers'");
        for (const hostile::File& f : hostile::ordinary())
            testfiles::written(warm, f.name, f.bytes);
    }

    void keptInput_data() {
        QTest::addColumn<QString>("path");
        const QDir kept(QStringLiteral(VETRINOVA_FUZZ_FOUND));
        for (const QFileInfo& f : kept.entryInfoList(QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(f.fileName())) << f.absoluteFilePath();
    }
    void keptInput() {
        QFETCH(QString, path);
        const hostile::Verdict v =
            hostile::judged(warm.path(), path, QSize(186, 124), QSize(1727, 1080));
        QVERIFY2(v.broken.isEmpty(), qPrintable(v.broken));
    }
};

int main(int argc, char** argv) {
    if (hostile::isChild(argc, argv)) return hostile::measured(argc, argv);
    QCoreApplication app(argc, argv);
    FuzzFoundTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "fuzz_found_test.moc"
