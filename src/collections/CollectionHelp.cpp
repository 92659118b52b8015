#include "collections/CollectionHelp.h"

#include "app/FrmGuida.h"

QStringList collectionHelpParagraphs()
{
    return {
        QStringLiteral(
            "L'applicazione Collection Musicale è l'area di lavoro in cui si archiviano le canzoni "
            "preferite: per "
            "ogni brano è disponibile una scheda con numerosi campi di testo da compilare. Per creare una "
            "nuova "
            "collection fare clic su Crea nuova collection nella schermata iniziale, scrivere il nome "
            "completo "
            "della collection nella casella predisposta e confermare con il pulsante posto nella parte bassa "
            "della schermata."),
        QStringLiteral(
            "Ogni nuova collection è un file di archivio con estensione MUS che viene salvato nella cartella "
            "del "
            "programma e può contenere un numero illimitato di schede, ciascuna con il testo della canzone "
            "e, se "
            "lo si desidera, la sua traduzione. Si consiglia di attribuire alle collection nomi completi che "
            "contengano parole chiave, come il nome dell'artista o il genere musicale, così da riconoscerle "
            "subito nell'elenco."),
        QStringLiteral("Dopo aver confermato il nome con Applica e chiudi si torna alla schermata iniziale: "
                       "il pulsante Apri "
                       "collection esistente mostra l'elenco di tutte le collection create. Per aprirne una "
                       "è sufficiente "
                       "fare clic sul suo nome e premere Apri archivio."),
        QStringLiteral("L'icona del cestino, nella schermata dell'elenco, elimina la collection selezionata. "
                       "Usare questa "
                       "funzione con attenzione: un archivio eliminato non può più essere recuperato e tutte "
                       "le sue schede "
                       "vanno perse definitivamente."),
        QStringLiteral(
            "La scheda di ogni canzone raccoglie il titolo, il cantante, l'album, il genere musicale, gli "
            "autori "
            "del testo, la nazione e l'anno, i premi e i riconoscimenti, la casa discografica, la durata, il "
            "testo e la traduzione, l'indirizzo di un sito Web in cui ascoltare il brano (ad esempio il "
            "collegamento a un video), i dettagli della musica (strumenti, ritmo, voci) e altre note a "
            "piacere."),
        QStringLiteral(
            "Il nome d'arte del cantante può essere importato dall'archivio dei cantanti con il pulsante a "
            "freccia verde posto alla destra della sua casella. Il pulsante accanto all'indirizzo del sito "
            "Web "
            "apre la pagina della canzone nel browser."),
        QStringLiteral(
            "Per inserire una nuova scheda premere Nuovo, compilare i campi e premere Salva. Il titolo della "
            "canzone e il nome del cantante sono obbligatori: senza di essi la scheda non viene salvata."),
        QStringLiteral(
            "Il pulsante Duplica prepara una nuova scheda che conserva tutti i testi di una scheda già "
            "archiviata: "
            "basta modificare ciò che serve e premere Salva. È utile per inserire rapidamente canzoni degli "
            "stessi autori o dello stesso cantante."),
        QStringLiteral("Con Allega file si possono collegare a ogni scheda fino a tre file di qualsiasi "
                       "tipo, ad esempio "
                       "l'audio della canzone in formato MP3 oppure una foto dell'artista."),
        QStringLiteral("Il pulsante Trova permette di cercare le schede in archivio e di richiamarne una con "
                       "un doppio clic "
                       "sull'elenco dei risultati. Si possono usare più filtri contemporaneamente, ad "
                       "esempio per trovare "
                       "tutte le canzoni di un cantante appartenenti a un certo genere, oppure quelle di un "
                       "determinato anno."),
        QStringLiteral("La casella Segnala inserisce la scheda in un gruppo di canzoni scelte: il pulsante "
                       "con il triangolo "
                       "giallo ne mostra l'elenco, che può anche essere stampato."),
        QStringLiteral("Il pulsante Anteprima mostra l'anteprima di stampa della scheda e Stampa la invia "
                       "alla stampante. "
                       "Ogni collection può inoltre essere esportata in un file di Microsoft Excel, per "
                       "condividerla con "
                       "chi non possiede il programma."),
    };
}

QString collectionHelpText()
{
    return FrmGuida::joinParagraphs(collectionHelpParagraphs() << FrmGuida::dataFolderParagraph());
}
