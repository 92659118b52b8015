#pragma once

// Puts Qt's own dialogs and standard buttons into Italian ("Sì", "No", "Annulla", "Apri").
// Returns false when the translation is not installed on this machine.
bool installItalianTranslation();
