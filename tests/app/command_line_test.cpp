// The command line: read before any window system, conventional answers and exit statuses,
// "--" ending the options. The last two tests run the program itself.
#include "app/command_line.h"
#include "logic/lang/captions.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using Action = command_line::Parsed::Action;

namespace {
// Starts the program on the given platform ("" for none: no display at all), with a runtime
// folder of its own so that no running copy takes its documents.
void start(QProcess& p, const QStringList& arguments, const QString& platform,
           const QString& runtime) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    if (!platform.isEmpty()) env.insert("QT_QPA_PLATFORM", platform);
    env.insert("XDG_RUNTIME_DIR", runtime);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(runtime);
    p.start(VETRINOVA_PROGRAM, arguments);
}
} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT
  private slots:
    // "--" ends the options; the toolkit is given its own options and nothing else.
    void startsWith() {
        const command_line::Parsed p = command_line::parse(
            {"vt", "-platform", "offscreen", "./-p.v69", "-reverse", "--", "-style", "--help"});
        QCOMPARE(int(p.action), int(Action::Run));
        QCOMPARE(p.documents, (QStringList{"./-p.v69", "-style", "--help"}));
        QCOMPARE(p.toolkitArguments, (QStringList{"vt", "-platform", "offscreen", "-reverse"}));
    }

    void mistakes() {
        for (const QString m : {"-p.v69", "--bogus", "-style"})
            QCOMPARE(int(command_line::parse({"vt", m}).action), int(Action::Mistake));
    }

    void withoutADisplay_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("outBegins");
        QTest::addColumn<QString>("errHolds");
        QTest::newRow("--help") << "--help" << 0 << "Usage: vetrinova [options] [file...]\n"
                                << "";
        QTest::newRow("--version") << "--version" << 0 << "vetrinova "
                                   << "";
        QTest::newRow("unknown") << "--bogus" << 2 << ""
                                 << "\nTry 'vetrinova --help'";
    }
    void withoutADisplay() {
        QFETCH(QString, argument);
        QFETCH(int, status);
        QFETCH(QString, outBegins);
        QFETCH(QString, errHolds);
        QTemporaryDir runtime;
        QProcess p;
        start(p, {argument}, "", runtime.path());
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), status);
        const QString out = p.readAllStandardOutput(), err = p.readAllStandardError();
        QVERIFY2(out.left(outBegins.size()) == outBegins && out.isEmpty() == outBegins.isEmpty(),
                 qPrintable(out));
        QVERIFY2(err.contains(errHolds) && err.isEmpty() == errHolds.isEmpty(), qPrintable(err));
        // One version for the command line and the about box.
        if (argument == "--version")
            QCOMPARE("Vetrinova - v" + out.mid(outBegins.size()).trimmed() + " (UB)",
                     captions::aboutVersion());
    }

    // A document after "--" is opened, and one that cannot be read is told on standard error.
    void unreadableDocumentIsToldOnStandardError() {
        QTemporaryDir runtime;
        QProcess p;
        p.setReadChannel(QProcess::StandardError);
        start(p, {"--", "-missing.v69"}, "offscreen", runtime.path());
        const QByteArray told =
            QFile::encodeName(runtime.filePath("-missing.v69")) + " could not be read";
        QByteArray err;
        const bool seen = QTest::qWaitFor(
            [&] {
                p.waitForReadyRead(100);
                return (err += p.readAllStandardError()).contains(told) ||
                       p.state() == QProcess::NotRunning;
            },
            20000);
        p.kill();
        p.waitForFinished();
        QVERIFY2(seen && err.contains(told), err.constData());
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
