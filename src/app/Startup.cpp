#include "app/Startup.h"

#include "app/AppFormats.h"
#include "app/Look.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <csignal>

void useItalianDates()
{
    // LC_ALL would outweigh the time category: its value goes to every other category instead,
    // so that only dates change.
    const QByteArray all = qgetenv("LC_ALL");
    if (!all.isEmpty()) {
        for (const char *category :
             {"LC_CTYPE", "LC_NUMERIC", "LC_COLLATE", "LC_MONETARY", "LC_MESSAGES", "LC_PAPER", "LC_NAME",
              "LC_ADDRESS", "LC_TELEPHONE", "LC_MEASUREMENT", "LC_IDENTIFICATION"})
            qputenv(category, all);
        qunsetenv("LC_ALL");
    }
    qputenv("LC_TIME", "it_IT.UTF-8");
}

bool installItalian()
{
    AppFormats::apply();
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void ignoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

void installProgramIcon()
{
    // Drawn from the artwork at the sizes title bars and task switchers ask for, so that no
    // image plugin is needed.
    QIcon icon;
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(Look::picture(QStringLiteral(":/app/icona.svg"), QSize(side, side), 1));
    QApplication::setWindowIcon(icon);
}
