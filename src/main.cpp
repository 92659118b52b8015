#include "app/CommandLine.h"
#include "app/Desktop.h"
#include "app/Maker.h"
#include "app/Startup.h"
#include "report/ReportPreview.h"
#include "shell/DataFolder.h"
#include "shell/WindowSet.h"
#include "songbook/Songbook.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>

namespace {

// Anything a handler failed to catch ends up here instead of ending the program.
class CantoriumApplication : public QApplication
{
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception &e) {
            desktop().generalError(QString::fromUtf8(e.what()));
        } catch (...) {
            desktop().generalError(QStringLiteral("Errore sconosciuto"));
        }
        return false;
    }
};

QStringList rawArguments(int argc, char *argv[])
{
    QStringList out;
    for (int i = 0; i < argc; ++i)
        out.append(QString::fromLocal8Bit(argv[i]));
    return out;
}

// Work asked for on the command line, without any window: status 0 when done, 1 with an
// Italian message on standard error otherwise.
int runCommandLine(int argc, char *argv[])
{
    // No window is shown, so no display is needed (ssh, cron): the windowless platform is
    // chosen before the application object looks for one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ignoreFileSizeSignal();
    // Standard error carries the program's own messages only, not Qt's notes about the session.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtFatalMsg)
            std::fputs(message.toLocal8Bit().constData(), stderr);
    });
    QGuiApplication app(argc, argv);
    const CommandLine command = parseCommandLine(QCoreApplication::arguments());
    auto fail = [](const QString &message) {
        std::fputs(message.toLocal8Bit().constData(), stderr);
        std::fputc('\n', stderr);
        return 1;
    };
    if (command.action == CommandLine::Action::Fail)
        return fail(command.error);
    songbook::Options options;
    options.selection.kind = command.flagged ? songbook::Selection::Kind::Flagged : songbook::Selection::Kind::All;
    options.layout = command.translation ? songbook::Layout::SideBySide : songbook::Layout::Lyrics;
    options.order = command.order == CommandLine::Order::Title    ? songbook::Order::Title
                    : command.order == CommandLine::Order::Singer ? songbook::Order::Singer
                                                                  : songbook::Order::Stored;
    try {
        songbook::makePdf(command.collection, command.pdf, options);
    } catch (const songbook::SongbookError &e) {
        return fail(e.message());
    } catch (const std::exception &e) {
        return fail(QStringLiteral("Attenzione: il canzoniere non è stato scritto (%1).").arg(QString::fromUtf8(e.what())));
    }
    return 0;
}

// The options of the command line; Qt's own texts come out in Italian once installItalian() ran.
const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                               QStringLiteral("Mostra questo aiuto ed esce."));

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Cantorium cataloga le collection musicali e tiene l'archivio dei cantanti.\n\n")
        + CommandLine::kUsage);
    parser.addOption(kHelp); // Qt's own help option has no Italian text
    parser.addVersionOption();
}

// Answers --help and --version, or tells a wrong option; false when the program should start.
bool answered(QCommandLineParser &parser, const QStringList &arguments, int *code)
{
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        *code = 1;
        return true;
    }
    if (parser.isSet(kHelp)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        *code = 0;
        return true;
    }
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion(); // prints and ends the process
    return false;
}

// --help and --version answer on the terminal, where there may be no display to open a window on.
bool asksTheTerminal(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i)
        for (const char *option : {"-h", "--help", "-?", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    return false;
}

void nameTheProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("Cantorium"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(Maker::kVersion));
}

} // namespace

int main(int argc, char *argv[])
{
    if (asksTheTerminal(argc, argv)) {
        QCoreApplication terminal(argc, argv);
        nameTheProgram();
        installItalian();
        QCommandLineParser parser;
        describe(parser);
        int code = 0;
        answered(parser, terminal.arguments(), &code);
        return code;
    }
    if (wantsCommandLine(rawArguments(argc, argv)))
        return runCommandLine(argc, argv);
    useItalianDates(); // before the application object reads the regional settings
    ignoreFileSizeSignal();
    CantoriumApplication app(argc, argv);
    nameTheProgram();
    // The program ends only through its own commands: the login window is hidden while the
    // launcher is in use, so "last window closed" means nothing here.
    QApplication::setQuitOnLastWindowClosed(false);

    installItalian(); // also the formats every window relies on
    installProgramIcon();
    {
        QCommandLineParser parser;
        describe(parser);
        int code = 0;
        if (answered(parser, app.arguments(), &code))
            return code;
    }
    report::installPreviewAndPrint();
    prepareDataFolder();

    WindowSet windows(WindowSet::Creation::LoginFirst);
    QObject::connect(&windows, &WindowSet::terminateRequested, &app, &QApplication::quit, Qt::QueuedConnection);
    windows.start();
    return app.exec();
}
