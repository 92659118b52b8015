#include "output/FrmExpCollection.h"

#include "core/Text.h"
#include "records/SongCard.h"

#include <QFileInfo>

namespace
{
// The collection file's name without its suffix: "Rock" for Rock.mus.
QString collectionName(const QString &collectionPath)
{
    const QString name = QFileInfo(ctrim(collectionPath)).completeBaseName();
    return name.isEmpty() ? QStringLiteral("Collection") : name;
}

ExportKind collectionKind(const QString &collectionPath)
{
    return {
        QStringLiteral("frmExpCollection"),
        QStringLiteral(" Esporta collection musicale in Microsoft Excel"),
        QStringLiteral("Collection Musicale"),
        QStringLiteral("Collection.xls"),
        collectionName(collectionPath),
        QStringLiteral("Esportazione collection musicale in Microsoft Excel."),
        {QStringLiteral("Con il comando di esportazione l'intera collection musicale viene salvata in un "
                        "foglio di calcolo, che può essere aperto da qualsiasi programma in grado di "
                        "leggere i file in formato XLS. Dall'elenco «Formato del file» si può scegliere "
                        "anche una cartella di lavoro di Excel (XLSX), che i programmi recenti aprono senza "
                        "avvisi e in cui ogni cella resta il testo della scheda, oppure un file di testo CSV "
                        "separato da punto e virgola, per altri programmi. Per questi due formati la casella «Tutte "
                        "le colonne» aggiunge ogni altro campo della scheda: il testo, la traduzione, la segnalazione e gli allegati."),
         QStringLiteral(
             "Una volta aperta questa finestra con la griglia delle schede, basta un clic "
             "sull'icona del foglio di calcolo per creare subito il file XLS nella cartella del "
             "programma; per i formati XLSX e CSV si scelgono prima la cartella e il nome del file. "
             "Il messaggio finale indica dove si trova il file e permette di aprirlo o di aprirne la "
             "cartella."),
         QStringLiteral(
             "Per il file XLS, a questo punto non resta che salvarlo con il nome che si preferisce.")},
        ExportColumns::collection(),
        SongCard::schema()};
}
} // namespace

FrmExpCollection::FrmExpCollection(QWidget *owner, const QString &collectionPath)
    : ExportWindow(owner, collectionKind(collectionPath), collectionPath)
{
}
