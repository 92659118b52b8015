#include "import/ImportHelp.h"

const char *const kImportHelpTitle = "Importazione di brani da una cartella.";

QStringList importHelpParagraphs()
{
    return {
        QStringLiteral("Chi possiede le proprie canzoni come file audio può creare le schede in un colpo solo: "
                       "il programma legge i tag dei file (titolo, artista, album, genere, compositore, anno, "
                       "durata, testo e commento) e prepara una scheda per ogni brano della collection "
                       "aperta. Si leggono i formati più diffusi: MP3, FLAC, Ogg Vorbis e Opus, M4A, WMA, "
                       "WAV e AIFF con i tag, APE, WavPack e altri ancora."),
        QStringLiteral("Si sceglie la cartella con il pulsante Sfoglia, oppure se ne scrive il percorso nella "
                       "casella. Le sottocartelle vengono lette anch'esse, a meno di togliere il segno di "
                       "spunta dalla casella Includi le sottocartelle. Il pulsante Leggi i file avvia la "
                       "lettura, che si può interrompere in qualsiasi momento con Annulla: la barra mostra "
                       "quanti file sono stati letti."),
        QStringLiteral("Al termine la griglia mostra, riga per riga, ciò che ogni scheda conterrà. Un brano "
                       "con lo stesso titolo e lo stesso cantante di una scheda già presente nella collection "
                       "è indicato come già presente e non è spuntato; lo stesso vale per un brano ripetuto "
                       "nella cartella. Le caselle in arancione indicano un testo più lungo del campo, che "
                       "viene troncato; quelle in giallo un testo con caratteri che l'archivio non può "
                       "contenere, sostituiti da lettere simili o da un punto interrogativo."),
        QStringLiteral("I file che non si possono leggere (file vuoti, danneggiati, che non sono audio o che "
                       "non si possono aprire) sono elencati sotto la griglia con il motivo, e non "
                       "interrompono l'importazione. Un file senza titolo prende come titolo il nome del "
                       "file."),
        QStringLiteral("Il pulsante Importa aggiunge in fondo alla collection le schede dei brani spuntati, "
                       "tutte insieme: se qualcosa va storto, per esempio perché il disco è pieno, non ne "
                       "viene aggiunta nessuna e la collection resta com'era. I file audio vengono soltanto "
                       "letti, mai modificati né spostati. Annulla chiude la finestra senza aggiungere "
                       "nulla."),
    };
}
