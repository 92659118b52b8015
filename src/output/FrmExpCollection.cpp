#include "output/FrmExpCollection.h"

#include "records/SongCard.h"

namespace
{
ExportKind collectionKind()
{
    return {
        QStringLiteral("frmExpCollection"),
        QStringLiteral(" Esporta collection musicale in Microsoft Excel"),
        QStringLiteral("Collection Musicale"),
        QStringLiteral("Collection.xls"),
        QStringLiteral("Esportazione collection musicale in Microsoft Excel."),
        {QStringLiteral("Con il comando di esportazione l'intera collection musicale viene salvata in un "
                        "foglio di calcolo, che può essere aperto da qualsiasi programma in grado di "
                        "leggere i file in formato XLS."),
         QStringLiteral("Una volta aperta questa finestra con la griglia delle schede, basta un clic "
                        "sull'icona del foglio di calcolo per creare subito il file XLS, che si può aprire "
                        "rispondendo sì alla domanda successiva."),
         QStringLiteral("A questo punto non resta che salvare il file con il nome che si preferisce.")},
        ExportColumns::collection(),
        SongCard::schema()};
}
} // namespace

FrmExpCollection::FrmExpCollection(QWidget *owner, const QString &collectionPath)
    : ExportWindow(owner, collectionKind(), collectionPath)
{
}
