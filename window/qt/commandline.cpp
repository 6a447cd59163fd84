#include "window/qt/commandline.h"

#include "board/text.h"
#include "window/language.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

#include <cstdio>

namespace veltrin {

namespace {

// The options every Qt program takes (QGuiApplication, QApplication and the X11 platform).
// They are Qt's to act on; we only need to know them, and which take a value, so that they
// are not mistaken for errors. Hidden from --help: they are documented as Qt's, not ours.
struct QtOption {
    const char* name;
    bool takesValue;
};
constexpr QtOption qtOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true},
    {"qwindowtitle", true},    {"session", true},
    {"display", true},         {"geometry", true},
    {"style", true},           {"stylesheet", true},
    {"qmljsdebugger", true},   {"dialogs", true},
    {"fontengine", true},      {"reverse", false},
    {"widgetcount", false},
};

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

void describeApplication() {
    QCoreApplication::setApplicationName(QStringLiteral(VELTRIN_NAME));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELTRIN_VERSION));
}

void translateQt(QCoreApplication& app) {
    static QTranslator qt;
    if (qt.isEmpty() &&
        qt.load(QLocale(QString::fromStdString(languageTag())), QStringLiteral("qtbase"),
                QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(&qt);
    }
}

namespace {

// Our options and Qt's, described in the language of the translations installed by then.
void addOptions(QCommandLineParser& parser) {
    // TRANSLATORS: the command line's help; keep its lines under 80 characters.
    parser.setApplicationDescription(QString::fromUtf8(translate(
        N_("Finds how many times to press each square of a 3x3 grid of three colours,\nin a "
           "game where a press advances a square and its neighbours, to make the\ngrid one "
           "colour."))));
    // Qt's options are single words after one dash.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    for (const QtOption& qt : qtOptions) {
        QCommandLineOption option(QString::fromLatin1(qt.name));
        if (qt.takesValue) {
            option.setValueName(QStringLiteral("value"));
        }
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace

std::optional<int> handleCommandLine(int argc, char** argv) {
    describeApplication();
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    QCommandLineParser parser;
    addOptions(parser);
    const bool understood = parser.parse(arguments);
    const bool wantsAllHelp = parser.isSet(QStringLiteral("help-all"));
    const bool wantsHelp = parser.isSet(QStringLiteral("help")) || wantsAllHelp;
    if (understood && !wantsHelp && !parser.isSet(QStringLiteral("version")) &&
        parser.positionalArguments().isEmpty()) {
        return std::nullopt;
    }

    // Only now an application object, for the program's name in the usage line and Qt's
    // translations of its own texts (which the parser above was described without); a core
    // one needs no window system.
    QCoreApplication app(argc, argv);
    translateQt(app);
    QCommandLineParser described;
    addOptions(described);
    described.parse(arguments);
    if (!understood || !parser.positionalArguments().isEmpty()) {
        const QString error = understood
                                  ? QString::fromUtf8(translate(N_("Unexpected argument '%1'.")))
                                        .arg(parser.positionalArguments().constFirst())
                                  : described.errorText();
        print(stderr, QStringLiteral("%1: %2\n\n%3")
                          .arg(QCoreApplication::applicationName(), error, described.helpText()));
        return 2;
    }
    if (wantsHelp) {
        print(stdout, described.helpText());
        if (wantsAllHelp) {
            // Qt describes its own options only once a window system is up; name them here.
            QString all = QStringLiteral("\n%1\n").arg(
                QString::fromUtf8(translate(N_("Qt's options, as every Qt program takes them:"))));
            for (const QtOption& qt : qtOptions) {
                all += QStringLiteral("  -%1%2\n")
                           .arg(QString::fromLatin1(qt.name),
                                qt.takesValue ? QStringLiteral(" <value>") : QString());
            }
            print(stdout, all);
        }
    } else {
        print(stdout, QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                    QCoreApplication::applicationVersion()));
    }
    return 0;
}

} // namespace veltrin
