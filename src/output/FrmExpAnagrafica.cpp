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
        QStringLiteral("Esportazione archivio cantanti in Microsoft Excel."),
        {QStringLiteral("Con il comando di esportazione l'intero archivio dei cantanti viene salvato in un "
                        "foglio di calcolo, che può essere aperto da qualsiasi programma in grado di "
                        "leggere i file in formato XLS."),
         QStringLiteral("Una volta aperta questa finestra con la griglia delle schede dei cantanti, basta "
                        "un clic sull'icona del foglio di calcolo per creare subito il file XLS, che si può "
                        "aprire rispondendo sì alla domanda successiva."),
         QStringLiteral("A questo punto non resta che salvare il file con il nome che si preferisce.")},
        ExportColumns::singers(),
        SingerCard::schema()};
}
} // namespace

FrmExpAnagrafica::FrmExpAnagrafica(QWidget *owner)
    : ExportWindow(owner, singersKind(), SingerArchive::path())
{
}
