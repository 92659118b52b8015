// Start-up to the login window, against a bare Qt window: each iteration starts a fresh process
// and times it from its start until its first window has been painted; the process then ends
// outside the timed part. The program's child runs the start-up steps of main.cpp in the same
// order (Italian dates and translations, the data folder, the window set) and reports after
// the login window's first paint; the bare child (startup_bare) shows one empty QWidget.
// Run it on the platform to compare, e.g. QT_QPA_PLATFORM=offscreen or under Xvfb.
#include "access/FrmPassword.h"
#include "app/Startup.h"
#include "shell/DataFolder.h"
#include "shell/WindowSet.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

namespace
{

QString g_self;
QString g_bare;

// Says "shown" on stdout after the first paint of `window`.
class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool m_done = false;
};

int programChild(int argc, char **argv)
{
    useItalianDates();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cantorium"));
    QApplication::setQuitOnLastWindowClosed(false);
    installItalian();
    prepareDataFolder();
    WindowSet windows(WindowSet::Creation::LoginFirst);
    FirstPaint watcher;
    QWidget *login = windows.password();
    login->installEventFilter(&watcher);
    windows.start();
    return app.exec();
}

// Time from the start of `program` until it says its window is shown.
void timeStart(benchmark::State &state, const QString &program, const QStringList &arguments)
{
    for (auto _ : state) {
        QElapsedTimer clock;
        QProcess process;
        clock.start();
        process.start(program, arguments);
        bool shown = false;
        while (!shown && process.waitForReadyRead(30000))
            shown = process.readAll().contains("shown");
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        process.waitForFinished(30000);
        if (!shown) {
            state.SkipWithError("the window was never shown");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_BareQtWindow(benchmark::State &state)
{
    timeStart(state, g_bare, {});
}

void BM_StartupToLogin(benchmark::State &state)
{
    timeStart(state, g_self, {QStringLiteral("--child")});
}

} // namespace

BENCHMARK(BM_BareQtWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartupToLogin)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0)
        return programChild(argc, argv);
    g_self = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
    g_bare = QFileInfo(g_self).absolutePath() + QStringLiteral("/startup_bare");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
