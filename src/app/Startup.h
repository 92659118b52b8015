#pragma once

// Start-up steps that put the program into Italian whatever the system's regional settings.

// To be called before the application object exists. Qt's file dialogs write dates with the
// system's regional settings rather than with the program's locale ("10 Dec 2026" on an
// English or C system); this makes the dates of this process Italian ("10/12/26", "dic") and
// leaves every other regional setting of the system as it was.
void useItalianDates();

// Makes Italian (Italy) the default locale and puts Qt's own dialogs and standard buttons into
// Italian ("Sì", "No", "Annulla", "Apri"). Returns false when the translation is not installed
// on this machine; the locale is set in any case.
bool installItalian();

// A write past the file-size limit (`ulimit -f`) then fails with an error that the command
// reports and repairs, instead of ending the program in the middle of it.
void ignoreFileSizeSignal();
