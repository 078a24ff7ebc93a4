// The command line: read before any window system, conventional answers and exit statuses,
// "--" ending the options. The last two tests run the program itself.
#include "app/command_line.h"
#include "common/monitors.h"
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
        const command_line::Parsed p =
            command_line::parse({"vt", "-platform", "offscreen", "./-p.v69", "--screen", "HDMI-1",
                                 "-reverse", "--", "-style", "--help", "--screen", "DP-1"});
        QCOMPARE(int(p.action), int(Action::Run));
        QCOMPARE(p.screen, QString("HDMI-1"));
        QCOMPARE(p.documents, (QStringList{"./-p.v69", "-style", "--help", "--screen", "DP-1"}));
        QCOMPARE(p.toolkitArguments, (QStringList{"vt", "-platform", "offscreen", "-reverse"}));
    }

    // Every option of the toolkit's usual ones is passed on to it, with its value, in either
    // spelling; the file after it stays a file.
    void toolkitOptions_data() {
        QTest::addColumn<QStringList>("options");
        for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin",
                                 "qwindowgeometry", "qwindowicon", "qwindowtitle", "display",
                                 "geometry", "style", "stylesheet", "session"}) {
            QTest::addRow("-%s NAME", name) << QStringList{QString("-") + name, "NAME"};
            QTest::addRow("--%s NAME", name) << QStringList{QString("--") + name, "NAME"};
        }
        for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"})
            QTest::addRow("-%s", name) << QStringList{QString("-") + name};
    }
    void toolkitOptions() {
        QFETCH(QStringList, options);
        const command_line::Parsed p =
            command_line::parse(QStringList{"vt"} + options + QStringList{"a.v69"});
        QCOMPARE(int(p.action), int(Action::Run));
        QCOMPARE(p.documents, QStringList{"a.v69"});
        options[0].remove(0, options[0].lastIndexOf('-'));
        QCOMPARE(p.toolkitArguments, QStringList{"vt"} + options);
    }

    void answers_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::newRow("-h") << QStringList{"-h"} << int(Action::Help);
        QTest::newRow("--help after a file") << QStringList{"a.v69", "--help"} << int(Action::Help);
        QTest::newRow("help before version") << QStringList{"--version", "-h"} << int(Action::Help);
        QTest::newRow("-v") << QStringList{"-v"} << int(Action::Version);
        QTest::newRow("--version") << QStringList{"--version"} << int(Action::Version);
        QTest::newRow("--list-screens")
            << QStringList{"--list-screens"} << int(Action::ListScreens);
        QTest::newRow("a file like an option") << QStringList{"-p.v69"} << int(Action::Mistake);
        QTest::newRow("unknown") << QStringList{"--bogus"} << int(Action::Mistake);
        QTest::newRow("a value missing") << QStringList{"-style"} << int(Action::Mistake);
        QTest::newRow("a monitor missing") << QStringList{"--screen"} << int(Action::Mistake);
        QTest::newRow("grouped letters") << QStringList{"-hv"} << int(Action::Mistake);
        QTest::newRow("nothing") << QStringList{} << int(Action::Run);
    }
    void answers() {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        const command_line::Parsed p = command_line::parse(QStringList{"vt"} + arguments);
        QCOMPARE(int(p.action), action);
        // The list of monitors is written once the toolkit can tell them.
        QCOMPARE(p.text.isEmpty(),
                 action == int(Action::Run) || action == int(Action::ListScreens));
    }

    void withoutADisplay_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("outBegins");
        QTest::addColumn<QString>("errHolds");
        const auto row = [](const char* argument, int status, const char* out, const char* err) {
            QTest::newRow(argument) << QString(argument) << status << QString(out) << QString(err);
        };
        row("--help", 0, "Usage: vetrinova [options] [file...]\n", "");
        row("-h", 0, "Usage: vetrinova [options] [file...]\n", "");
        row("--version", 0, "vetrinova ", "");
        row("-v", 0, "vetrinova ", "");
        row("--bogus", 2, "", "\nTry 'vetrinova --help'");
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
        if (outBegins == "vetrinova ")
            QCOMPARE("Vetrinova - v" + out.mid(outBegins.size()).trimmed() + " (UB)",
                     captions::aboutVersion());
    }

    // The monitors' names to give --screen, with their sizes and places; a name that is not
    // connected is told, with the list, and the program starts all the same.
    void monitorsListed_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("runs");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString list = "DP-1  1024x768 at 1280,0  (primary)\neDP-1  1280x800 at 0,0\n";
        QTest::newRow("--list-screens") << QStringList{"--list-screens"} << false << list << "";
        QTest::newRow("--screen HDMI-1")
            << QStringList{"--screen", "HDMI-1"} << true << ""
            << "vetrinova: no monitor is named \"HDMI-1\"; the primary one is used until it is "
               "connected. The monitors:\n" +
                   list;
    }
    void monitorsListed() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, runs);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QTemporaryDir runtime;
        QProcess p;
        start(p, arguments, testmonitors::platform({"eDP-1 0 0 1280 800", "DP-1 1280 0 1024 768"}),
              runtime.path());
        // A program that runs on is stopped once it has told what it had to.
        QString told;
        QVERIFY(QTest::qWaitFor(
            [&] {
                p.waitForReadyRead(100);
                told += p.readAllStandardError();
                return p.state() == QProcess::NotRunning || (runs && told.contains(err));
            },
            20000));
        QCOMPARE(p.state() == QProcess::NotRunning, !runs);
        p.kill();
        p.waitForFinished();
        QCOMPARE(QString(p.readAllStandardOutput()), out);
        if (runs)
            QVERIFY2(told.contains(err), qPrintable(told));
        else
            QCOMPARE(p.exitCode(), 0);
    }

    // A document after "--" is opened, and one that cannot be read is told on standard error;
    // the toolkit's option before it reaches the toolkit.
    void unreadableDocumentIsToldOnStandardError() {
        QTemporaryDir runtime;
        QProcess p;
        p.setReadChannel(QProcess::StandardError);
        // No display but the one the toolkit's option names.
        start(p, {"-platform", "offscreen", "--", "-missing.v69"}, "", runtime.path());
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
