#include "collections/FrmApriCollection.h"

#include "app/Desktop.h"
#include "app/FrmGuida.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "backup/BackupCommands.h"
#include "collections/CollectionArt.h"
#include "collections/CollectionHelp.h"
#include "core/ProgramFolder.h"
#include "table/RecentCollections.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QShowEvent>

#include <algorithm>

namespace
{
const char *const kEmptyList = "Attenzione: l'elenco non contiene nessuna collection musicale.";
const char *const kSelectToOpen =
    "Attenzione: selezionare la collection musicale dall'elenco prima di premere il pulsante Apri archivio.";
const char *const kSelectToDelete = "Attenzione: selezionare dall'elenco la collection musicale da eliminare "
                                    "prima di premere il pulsante del cestino.";
// The file goes to the desktop's trash, after a copy in the backups: the question says so.
const char *const kConfirmDelete =
    "Si sta per eliminare la collection musicale \"%1\". Il file sarà spostato nel cestino, da cui si potrà "
    "recuperare; ne resterà anche una copia di sicurezza automatica (comando Ripristina della finestra di "
    "avvio).\r\n\r\nSi conferma l'eliminazione dell'archivio?";
const char *const kDeleted = "La collection musicale è stata eliminata con successo.";
const char *const kInTrash = "\r\n\r\nIl file è stato spostato nel cestino.";
const char *const kNoTrash = "\r\n\r\nIl cestino non è disponibile: la collection si può recuperare con il comando "
                             "Ripristina della finestra di avvio.";

QString countLine(int n)
{
    return QStringLiteral("Sono state create %1 collection musicali.").arg(n);
}

char16_t folded(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
}

} // namespace

FrmApriCollection::FrmApriCollection()
    : WorkWindow(QStringLiteral("frmApriCollection"),
                 QStringLiteral(" Cantorium - Apertura collection musicale"), CollectionArt::kWindowTop)
{
    using namespace CollectionArt;

    QWidget *p = panel();
    const QColor border = Look::kBoxBorder;
    shape(p, QStringLiteral("shpContainer"), QRect(0, 0, 994, 692), kSteelBlue, Qt::white);
    shape(p, QStringLiteral("shpRiquadro01"), QRect(16, 12, 962, 124), Qt::white, border);
    shape(p, QStringLiteral("shpRiquadro02"), QRect(16, 144, 962, 424), Qt::white, border);
    shape(p, QStringLiteral("shpRiquadro03"), QRect(16, 578, 962, 98), Qt::white, border);

    icoIcona04 = picture(p, QStringLiteral("icoIcona04"), QStringLiteral(":/collections/nota.svg"),
                         QRect(48, 24, 100, 100));
    icoIstruzioni = instructions(
        p, QRect(168, 22, 528, 102), QStringLiteral("Apertura collection musicale"),
        {QStringLiteral("Selezionare la collection nell'elenco sottostante e premere Apri archivio."),
         QStringLiteral("Fare clic sull'icona del cestino per eliminare la collection selezionata."),
         QStringLiteral("Premere Annulla per uscire da questa schermata senza aprire una collection.")});
    imgGuida = new ClickPicture(p, QStringLiteral("imgGuida"), QStringLiteral(":/collections/guida.svg"),
                                QRect(946, 156, 29, 28));
    btnElimina = new ClickPicture(p, QStringLiteral("btnElimina"),
                                  QStringLiteral(":/collections/cestino.svg"), QRect(24, 156, 46, 45));

    shape(p, QStringLiteral("shpElenco"), QRect(26, 216, 942, 314), Look::kBlanchedAlmond,
          Look::kAlmondBorder);
    lstFiles = new QListWidget(p);
    lstFiles->setObjectName(QStringLiteral("lstFiles"));
    lstFiles->setGeometry(34, 224, 926, 298);
    nameAfter(lstFiles, QStringLiteral("Elenco delle collection"));
    lstFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    lstFiles->setSortingEnabled(false); // the window keeps its own order
    lstFiles->setFont(Look::font(QStringLiteral("Courier New"), 14));
    QPalette lp = lstFiles->palette();
    lp.setColor(QPalette::Text, Qt::black);
    lstFiles->setPalette(lp);

    lblCreati = new QLabel(countLine(0), p);
    lblCreati->setObjectName(QStringLiteral("lblCreati"));
    lblCreati->setFont(Look::uiFont(12));
    QPalette cp = lblCreati->palette();
    cp.setColor(QPalette::WindowText, Look::kGreen);
    lblCreati->setPalette(cp);
    lblCreati->setGeometry(24, 537, 600, 20);

    btnAnnulla =
        greenButton(p, QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), QRect(44, 594, 193, 58));
    icoMano = picture(p, QStringLiteral("icoMano"), QStringLiteral(":/collections/mano.svg"),
                      QRect(684, 594, 58, 58));
    btnApri =
        greenButton(p, QStringLiteral("btnApri"), QStringLiteral("Apri archivio"), QRect(758, 594, 193, 58));

    lblFile = stateLabel(p, QStringLiteral("lblFile"));
    lblMemory = stateLabel(p, QStringLiteral("lblMemory"));
    lblMemory->setText(QStringLiteral("avvio"));

    connect(btnApri, &ClickPicture::clicked, this, [this] { guarded([this] { btnApriClick(); }); });
    connect(btnElimina, &ClickPicture::clicked, this, [this] { guarded([this] { btnEliminaClick(); }); });
    connect(btnAnnulla, &ClickPicture::clicked, this, [this] { guarded([this] { btnAnnullaClick(); }); });
    nameAfter(imgGuida, QStringLiteral("Guida"));
    nameAfter(btnElimina, QStringLiteral("Elimina la collection selezionata"));
    connect(imgGuida, &ClickPicture::clicked, this, [this] { guarded([this] { imgGuidaClick(); }); });
    // Connected before the window set's own handler, so the labels are set when it reads them.
    connect(this, &WorkWindow::closing, this, [this] { guarded([this] { FormClose(); }); });
}

bool FrmApriCollection::listLess(const QString &a, const QString &b)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = folded(a.at(i).unicode());
        const char16_t y = folded(b.at(i).unicode());
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b; // names that differ only in case keep a fixed order
}

bool FrmApriCollection::opensCollection() const
{
    return stateOf(lblMemory) == QLatin1String("collection");
}

QString FrmApriCollection::selectedLine() const
{
    const QList<QListWidgetItem *> selected = lstFiles->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

QString FrmApriCollection::chosenPath() const
{
    // The line is the file's own name: trimming it could name another collection
    // (" Rock.mus" beside "Rock.mus").
    return ProgramFolder::path() + selectedLine();
}

QString FrmApriCollection::chosenName() const
{
    const QString line = selectedLine();
    return line.left(qMax<qsizetype>(0, line.size() - 4));
}

void FrmApriCollection::showEvent(QShowEvent *event)
{
    WorkWindow::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void FrmApriCollection::FormShow()
{
    lblMemory->setText(QStringLiteral("avvio"));
    lblFile->setText(ProgramFolder::path());
    fillList();
}

void FrmApriCollection::fillList()
{
    lstFiles->clear();
    QStringList names;
    const QDir folder(ProgramFolder::path());
    // A folder that cannot be read simply gives an empty list.
    for (const QFileInfo &info : folder.entryInfoList(QDir::Files | QDir::Hidden, QDir::NoSort)) {
        if (info.isFile() && info.fileName().endsWith(QLatin1String(".mus"), Qt::CaseInsensitive))
            names << info.fileName();
    }
    std::sort(names.begin(), names.end(), &FrmApriCollection::listLess);
    // The collections opened last come first, most recent at the top.
    names = RecentCollections::recentFirst(names);
    for (const QString &name : names)
        lstFiles->addItem(name);
    lstFiles->clearSelection();
    lstFiles->setCurrentItem(nullptr);
    lblCreati->setText(countLine(lstFiles->count()));
}

void FrmApriCollection::btnApriClick()
{
    if (lstFiles->count() == 0) {
        desktop().warning(QString::fromUtf8(kEmptyList));
        return;
    }
    if (selectedLine().isEmpty()) {
        desktop().warning(QString::fromUtf8(kSelectToOpen));
        return;
    }
    lblFile->setText(chosenPath());
    lblMemory->setText(QStringLiteral("collection"));
    RecentCollections::remember(selectedLine());
    close();
}

void FrmApriCollection::FormClose()
{
    // In mode "avvio" the window set shows the launcher; in mode "collection" it hands
    // chosenPath() and chosenName() to the song editor and shows it.
    if (opensCollection())
        lblFile->setText(chosenPath());
}

void FrmApriCollection::btnEliminaClick()
{
    if (lstFiles->count() == 0) {
        desktop().warning(QString::fromUtf8(kEmptyList));
        return;
    }
    if (selectedLine().isEmpty()) {
        desktop().warning(QString::fromUtf8(kSelectToDelete));
        return;
    }
    // Only an explicit Yes goes ahead.
    if (!desktop().confirmIrreversible(QString::fromUtf8(kConfirmDelete).arg(chosenName())))
        return;
    lblFile->setText(chosenPath());
    // Never a plain removal: a copy goes into the backups first, then the file to the trash;
    // only where there is no trash is it removed, and the backup then holds it.
    const QString path = chosenPath();
    const QString name = QFileInfo(path).fileName();
    if (QFileInfo::exists(path) && BackupCommands::beforeRisk(this, ProgramFolder::path(),
                                   QStringLiteral("Prima dell'eliminazione della collection %1").arg(chosenName()),
                                   {name})) {
        if (QFile::moveToTrash(path))
            desktop().information(QString::fromUtf8(kDeleted) + QString::fromUtf8(kInTrash));
        else if (QFile::remove(path))
            desktop().information(QString::fromUtf8(kDeleted) + QString::fromUtf8(kNoTrash));
    }
    lblMemory->setText(QStringLiteral("avvio"));
    lblFile->clear();
    fillList();
}

void FrmApriCollection::btnAnnullaClick()
{
    close();
}

void FrmApriCollection::imgGuidaClick()
{
    FrmGuida::showTopic(this, QString::fromUtf8(kCollectionHelpTitle),
                        FrmGuida::joinParagraphs(collectionHelpParagraphs()));
}
