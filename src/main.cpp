#include "app/Desktop.h"
#include "app/Startup.h"
#include "report/ReportPreview.h"
#include "shell/DataFolder.h"
#include "shell/WindowSet.h"

#include <QApplication>

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

} // namespace

int main(int argc, char *argv[])
{
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
