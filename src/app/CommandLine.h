#pragma once

#include <QString>
#include <QStringList>

// What the program is asked to do by its command line. Without options of its own it opens its
// windows; with them it works without any window (scripts, ssh, cron) and ends with a status.
struct CommandLine {
    enum class Action {
        Windows,  // no option of the program: the usual windows
        Songbook, // --canzoniere FILE.mus --pdf OUT.pdf ...
        Fail,     // the options are wrong: `error` says why, the status is 1
    };
    enum class Order { Stored, Title, Singer };

    Action action = Action::Windows;
    QString error;

    // --canzoniere
    QString collection;
    QString pdf;
    bool flagged = false;     // --segnalati
    bool translation = false; // --traduzione: lyrics and translation side by side
    Order order = Order::Stored;

    // How the program is called, for the messages of wrong options.
    static const QString kUsage;
};

// True when the arguments (the program's name first) ask for work without windows: any option
// written with two dashes. Qt's own one-dash options (-platform, -style) leave the windows on.
bool wantsCommandLine(const QStringList &arguments);

// Reads the arguments, the program's name first. Every failure is an Italian message.
CommandLine parseCommandLine(const QStringList &arguments);
