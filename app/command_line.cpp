#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace command_line {

namespace {

// The toolkit's options that a Qt program conventionally accepts; they pass on to it.
const char* const toolkitOptionsWithValue[] = {"platform",        "platformpluginpath",
                                               "platformtheme",   "plugin",
                                               "qwindowgeometry", "qwindowicon",
                                               "qwindowtitle",    "display",
                                               "geometry",        "style",
                                               "stylesheet",      "session"};
const char* const toolkitSwitches[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

QString usage() {
    return QStringLiteral(
        "Usage: vetrinova [options] [file...]\n"
        "Shows a folder of pictures as a full-screen presentation.\n"
        "Each file is a presentation file (.v69) to open; when the program already runs on\n"
        "this display, the running copy opens it.\n"
        "\n"
        "Options:\n"
        "  --screen NAME   Present on the monitor of that name (a projector) rather than\n"
        "                  on the primary one: the setup window, the editor and the\n"
        "                  presentation go there, for the whole run.\n"
        "  --list-screens  Print the names of the monitors, their sizes and places.\n"
        "  -h, --help      Print this help and exit.\n"
        "  -v, --version   Print the version and exit.\n"
        "  --              End of options: every argument after it is a file.\n"
        "The toolkit's usual options (-platform NAME, -style NAME, -display NAME...) are\n"
        "accepted too.\n");
}

} // namespace

Parsed parse(const QStringList& arguments) {
    QCommandLineParser parser;
    // "-style fusion" is the toolkit's spelling; it rules out grouped one-letter options,
    // which this program has no use for.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption screen(QStringLiteral("screen"), QString(), QStringLiteral("name"));
    const QCommandLineOption listScreens(QStringLiteral("list-screens"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(screen);
    parser.addOption(listScreens);
    QList<QCommandLineOption> toolkit;
    for (const char* name : toolkitOptionsWithValue)
        toolkit << QCommandLineOption(QLatin1String(name), QString(), QStringLiteral("value"));
    for (const char* name : toolkitSwitches)
        toolkit << QCommandLineOption(QLatin1String(name));
    for (const QCommandLineOption& o : toolkit)
        parser.addOption(o);

    Parsed out;
    if (!parser.parse(arguments)) {
        out.action = Parsed::Action::Mistake;
        out.text = QStringLiteral("vetrinova: %1\nTry 'vetrinova --help' for more information.\n")
                       .arg(parser.errorText());
        return out;
    }
    if (parser.isSet(help)) {
        out.action = Parsed::Action::Help;
        out.text = usage();
        return out;
    }
    if (parser.isSet(version)) {
        out.action = Parsed::Action::Version;
        out.text = QStringLiteral("vetrinova %1\n").arg(QLatin1String(VETRINOVA_VERSION));
        return out;
    }
    if (parser.isSet(listScreens)) out.action = Parsed::Action::ListScreens;
    // The last one given counts, as with the toolkit's own options.
    if (parser.isSet(screen)) out.screen = parser.values(screen).constLast();
    out.documents = parser.positionalArguments();
    out.toolkitArguments << (arguments.isEmpty() ? QStringLiteral("vetrinova") : arguments[0]);
    for (const QCommandLineOption& o : toolkit) {
        if (!parser.isSet(o)) continue;
        const QString flag = QLatin1Char('-') + o.names().constFirst();
        if (o.valueName().isEmpty()) {
            out.toolkitArguments << flag;
            continue;
        }
        for (const QString& value : parser.values(o))
            out.toolkitArguments << flag << value;
    }
    return out;
}

} // namespace command_line
