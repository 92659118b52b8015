#include "shell/LauncherHelp.h"

#include "collections/CollectionHelp.h"

QStringList launcherHelpParagraphs()
{
    QStringList p;
    // 1-11: what the program is for and the singer archive.
    p << QStringLiteral(
        "Cantorium è il software pensato per chi ama la musica: permette di costruire un database "
        "dettagliato dei cantanti preferiti e di catalogare le proprie collection musicali personali, "
        "canzone per canzone, con testi, traduzioni e note.");
    p << QStringLiteral(
        "L'Archivio Cantanti raccoglie una scheda biografica per ogni artista: nome d'arte, sesso, data e "
        "luogo di nascita, cittadinanza, nome anagrafico, canzone d'esordio e canzone più famosa, coniuge "
        "e figli, eventuale data di decesso, titolo di studio, lingue conosciute, presenza sui social "
        "media, band di appartenenza, altezza, peso, colore degli occhi e dei capelli, impegni sociali, "
        "altre attività, residenza attuale, un giudizio personale, generi musicali, premi e riconoscimenti "
        "ed eventuali note.");
    p << QStringLiteral(
        "Per inserire un nuovo cantante fare clic sul pulsante Nuovo, compilare i campi della scheda, "
        "caricare la sua foto e premere Salva. Per modificare una scheda esistente visualizzarla con le "
        "frecce di scorrimento oppure con la funzione di ricerca, modificare i dati desiderati e premere "
        "di nuovo Salva. Il nome d'arte dei cantanti in archivio può essere importato nelle schede delle "
        "canzoni delle collection, senza doverlo riscrivere.");
    p << QStringLiteral(
        "Il pulsante Duplica dell'archivio cantanti prepara una nuova scheda che conserva tutti i dati "
        "della scheda visualizzata: è comodo per inserire artisti con molte informazioni in comune, ad "
        "esempio i componenti di una stessa band. Basta modificare i dati che cambiano e premere Salva per "
        "archiviare la nuova scheda.");
    p << QStringLiteral(
        "Con il pulsante Carica foto si può associare a ogni scheda una foto in formato JPEG o bitmap, che "
        "viene ridotta automaticamente per entrare nel riquadro di anteprima. I pulsanti accanto "
        "permettono di visualizzare la foto a tutto schermo nelle sue dimensioni reali, di salvarne una "
        "copia su disco e di cancellarla dalla scheda.");
    p << QStringLiteral(
        "A ogni scheda cantante si possono allegare documenti di qualsiasi tipo, ad esempio file audio o "
        "video delle sue canzoni, articoli o interviste: il software ne conserva una copia e li apre con "
        "il programma predefinito del computer.");
    p << QStringLiteral(
        "Lo slide show mostra a tutto schermo, una dopo l'altra, le foto di tutti i cantanti in archivio, "
        "cambiando foto ogni sei secondi e ricominciando dalla prima dopo l'ultima. Per uscire dallo slide "
        "show è sufficiente un clic in un punto qualsiasi dello schermo.");
    p << QStringLiteral(
        "La funzione di ricerca trova le schede anche partendo da chiavi parziali, cioè da una parte del "
        "testo cercato, inserite in uno o più campi contemporaneamente: si possono cercare ad esempio "
        "tutti i cantanti di un certo genere musicale oppure tutti i vincitori di un premio.");
    p << QStringLiteral(
        "Una volta salvata la scheda di un cantante se ne può compilare la discografia: aggiungere le "
        "canzoni del suo repertorio con titolo, anno, genere, autori dei testi e durata, modificarle, "
        "elencarle e stamparne l'elenco. In fondo all'elenco è sempre indicato il numero dei brani "
        "registrati.");
    p << QStringLiteral(
        "I dati e le foto vengono salvati in file contenuti nella cartella del programma: per fare una "
        "copia di sicurezza basta copiare l'intera cartella su un altro disco, e per ripristinare i dati è "
        "sufficiente sovrascrivere la cartella del programma con la copia.");
    p << QStringLiteral(
        "Ciascun archivio può essere esportato in un foglio di calcolo di Microsoft Excel; le schede dei "
        "cantanti possono inoltre essere visualizzate in anteprima e stampate complete di foto.");

    // 12-23: the song-collection help, shared with the song editor and the catalogue windows.
    p << collectionHelpParagraphs();

    // 24-28: exports, access, network, portability, closing.
    p << QStringLiteral(
        "I file esportati in formato XLS possono essere aperti con qualsiasi programma in grado di leggere "
        "i fogli di calcolo di Microsoft Excel, anche da chi non possiede Cantorium.");
    p << QStringLiteral(
        "L'accesso al software è protetto da una password, da scegliere di almeno otto caratteri, che "
        "l'utente autorizzato può cambiare a suo piacimento con il pulsante Cambia password della finestra "
        "di accesso. Al primo accesso dopo ogni installazione la password da utilizzare è benvenutoprimo.");
    p << QStringLiteral(
        "Gli archivi possono essere condivisi tra più postazioni di lavoro collegate in una rete locale, "
        "installando il software in una cartella comune a tutti i computer.");
    p << QStringLiteral(
        "Il software può essere utilizzato anche da una chiavetta USB: basta copiarvi l'intera cartella "
        "del programma. Copiare la cartella è anche il modo più rapido per fare una copia di sicurezza di "
        "tutti gli archivi.");
    p << QStringLiteral(
        "Cantorium è uno strumento pratico al servizio degli appassionati di musica: semplice e intuitivo, "
        "non richiede quasi nessun apprendimento e permette fin dal primo giorno di tenere in ordine le "
        "proprie canzoni e i propri artisti preferiti. Buon ascolto!");
    return p;
}
