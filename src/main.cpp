#include "app/CommandLine.h"
#include "app/Desktop.h"
#include "app/Startup.h"
#include "report/ReportPreview.h"
#include "shell/DataFolder.h"
#include "shell/WindowSet.h"
#include "songbook/Songbook.h"

#include <QApplication>
#include <QGuiApplication>

#include <csignal>
#include <cstdio>

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
    // A file-size limit (ulimit -f) makes the write fail with a message instead of ending the
    // program silently.
    std::signal(SIGXFSZ, SIG_IGN);
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

} // namespace

int main(int argc, char *argv[])
{
    if (wantsCommandLine(rawArguments(argc, argv)))
        return runCommandLine(argc, argv);
    useItalianDates(); // before the application object reads the regional settings
    ignoreFileSizeSignal();
    CantoriumApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cantorium"));
    // The program ends only through its own commands: the login window is hidden while the
    // launcher is in use, so "last window closed" means nothing here.
    QApplication::setQuitOnLastWindowClosed(false);

    installItalian(); // also the formats every window relies on
    report::installPreviewAndPrint();
    prepareDataFolder();

    WindowSet windows(WindowSet::Creation::LoginFirst);
    QObject::connect(&windows, &WindowSet::terminateRequested, &app, &QApplication::quit, Qt::QueuedConnection);
    windows.start();
    return app.exec();
}
