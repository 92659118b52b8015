#pragma once

#include <QSettings>

// The user's own settings of the program: an INI file in the user's configuration folder,
// never in the data folder (which other copies of the program may share). It holds only what
// must outlast a run and belongs to this user: the wait after wrong passwords, how many
// automatic backups are kept.
class UserSettings : public QSettings
{
public:
    UserSettings()
        : QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Cantorium"),
                    QStringLiteral("Cantorium"))
    {
    }
};
