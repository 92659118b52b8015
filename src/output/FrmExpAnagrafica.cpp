#include "output/FrmExpAnagrafica.h"

#include "records/SingerCard.h"

namespace
{
ExportKind singersKind()
{
    return {
        QStringLiteral("frmExpAnagrafica"),
        QStringLiteral(" Esporta archivio cantanti in Microsoft Excel"),
        QStringLiteral("Archivio Cantanti"),
        QStringLiteral("Archivio_Cantanti.xls"),
        QStringLiteral("Archivio cantanti"),
        QStringLiteral("Esportazione archivio cantanti in Microsoft Excel."),
        {QStringLiteral("Con il comando di esportazione l'intero archivio dei cantanti viene salvato in un "
                        "foglio di calcolo, che può essere aperto da qualsiasi programma in grado di "
                        "leggere i file in formato XLS. Dall'elenco «Formato del file» si può scegliere "
                        "anche una cartella di lavoro di Excel (XLSX), che i programmi recenti aprono senza "
                        "avvisi e in cui ogni cella resta il testo della scheda, oppure un file di testo CSV "
                        "separato da punto e virgola, per altri programmi. Per questi due formati la casella «Tutte "
                        "le colonne» aggiunge ogni altro campo della scheda: il sesso e gli allegati."),
         QStringLiteral(
             "Una volta aperta questa finestra con la griglia delle schede dei cantanti, basta "
             "un clic sull'icona del foglio di calcolo per creare subito il file XLS nella cartella "
             "del programma; per i formati XLSX e CSV si scelgono prima la cartella e il nome del "
             "file. Il messaggio finale indica dove si trova il file e permette di aprirlo o di aprirne "
             "la cartella."),
         QStringLiteral(
             "Per il file XLS, a questo punto non resta che salvarlo con il nome che si preferisce.")},
        ExportColumns::singers(),
        SingerCard::schema()};
}
} // namespace

FrmExpAnagrafica::FrmExpAnagrafica(QWidget *owner)
    : ExportWindow(owner, singersKind(), SingerArchive::path())
{
}
