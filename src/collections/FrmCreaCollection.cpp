#include "collections/FrmCreaCollection.h"

#include "app/Desktop.h"
#include "app/Fields.h"
#include "app/FrmGuida.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "collections/CollectionArt.h"
#include "collections/CollectionHelp.h"
#include "core/ProgramFolder.h"
#include "core/RecordFile.h"
#include "core/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

namespace
{
const char *const kEmptyName =
    "Attenzione: per creare il nuovo archivio è necessario indicare il nome della nuova collection musicale.";
const char *const kExists =
    "Attenzione: una collection musicale con il nome indicato già esiste.\r\n\r\nInserire un nome diverso "
    "oppure, "
    "se si desidera aprire la collection musicale già creata, premere il pulsante Apri collection esistente.";
const char *const kOutside =
    "Attenzione: il nome indicato non può essere usato perché il file della collection musicale finirebbe "
    "fuori dalla cartella del programma.\r\n\r\nInserire un nome senza barre (/ o \\) e senza il componente "
    "\"..\".";
const char *const kCreated =
    "Il file di archivio relativo alla nuova collection musicale è stato creato con successo.\r\n\r\nE' ora "
    "possibile visualizzarlo nell'elenco delle collection musicali esistenti.";

} // namespace

FrmCreaCollection::FrmCreaCollection()
    : WorkWindow(QStringLiteral("frmCreaCollection"),
                 QStringLiteral(" Cantorium - Creazione collection musicale"), CollectionArt::kWindowTop)
{
    using namespace CollectionArt;

    QWidget *p = panel();
    shape(p, QStringLiteral("shpContainer"), QRect(0, 0, 994, 692), kSteelBlue, Qt::white);
    shape(p, QStringLiteral("shpRiquadro01"), QRect(16, 12, 962, 128), Qt::white, Look::kBoxBorder);
    shape(p, QStringLiteral("shpRiquadro02"), QRect(16, 144, 962, 424), Qt::white, Look::kBoxBorder);
    shape(p, QStringLiteral("shpRiquadro03"), QRect(16, 572, 962, 104), Qt::white, Look::kBoxBorder);

    icoIcona04 = picture(p, QStringLiteral("icoIcona04"), QStringLiteral(":/collections/nota.svg"),
                         QRect(64, 24, 104, 104));
    icoIstruzioni = instructions(
        p, QRect(200, 22, 684, 108), QStringLiteral("Creazione collection musicale"),
        {QStringLiteral("Indicare il nome della nuova collection nella casella sottostante e fare clic su "
                        "Applica e chiudi."),
         QStringLiteral("Il nome attribuito apparirà nell'elenco visualizzato tramite il pulsante Apri "
                        "collection esistente."),
         QStringLiteral(
             "Premere Annulla per uscire da questa schermata senza creare una nuova collection musicale.")});
    imgGuida = new ClickPicture(p, QStringLiteral("imgGuida"), QStringLiteral(":/collections/guida.svg"),
                                QRect(946, 152, 29, 28));

    icoIcona03 = picture(p, QStringLiteral("icoIcona03"), QStringLiteral(":/collections/dischi.svg"),
                         QRect(40, 212, 150, 150));
    shape(p, QStringLiteral("shpNome"), QRect(208, 224, 760, 50), kSteelBlue, Look::kBoxBorder, Qt::white);
    txtFile = new QLineEdit(p);
    txtFile->setObjectName(QStringLiteral("txtFile"));
    txtFile->setGeometry(216, 232, 744, 34);
    txtFile->setFont(Look::uiFont(16, true));
    txtFile->setMaxLength(250);
    nameAfter(txtFile, QStringLiteral("Nome della nuova collection"));
    Fields::backgroundHighlight(txtFile);
    txtFile->installEventFilter(this);

    icoMano = picture(p, QStringLiteral("icoMano"), QStringLiteral(":/collections/mano.svg"),
                      QRect(464, 588, 58, 58));
    btnAnnulla =
        greenButton(p, QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), QRect(540, 588, 193, 58));
    btnApplica = greenButton(p, QStringLiteral("btnApplica"), QStringLiteral("Applica e chiudi"),
                             QRect(752, 588, 193, 58));

    lblFile = stateLabel(p, QStringLiteral("lblFile"));

    connect(btnApplica, &ClickPicture::clicked, this, [this] { guarded([this] { btnApplicaClick(); }); });
    connect(btnAnnulla, &ClickPicture::clicked, this, [this] { guarded([this] { btnAnnullaClick(); }); });
    nameAfter(imgGuida, QStringLiteral("Guida"));
    connect(imgGuida, &ClickPicture::clicked, this, [this] { guarded([this] { imgGuidaClick(); }); });
}

bool FrmCreaCollection::isRefusedKey(QChar c)
{
    switch (c.unicode()) {
    case 34:
    case 42:
    case 47:
    case 58:
    case 60:
    case 62:
    case 63:
    case 92:
    case 176:
    case 199:
    case 209:
    case 231:
    case 241:
        return true;
    default:
        return false;
    }
}

bool FrmCreaCollection::leavesProgramFolder(const QString &name)
{
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return true;
    return name == QLatin1String("..");
}

void FrmCreaCollection::showEvent(QShowEvent *event)
{
    WorkWindow::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void FrmCreaCollection::FormShow()
{
    txtFile->clear();
    txtFile->setFocus();
    // The window opened by a command takes the keyboard, even on a desktop without a window
    // manager to hand it over.
    activateWindow();
}

bool FrmCreaCollection::eventFilter(QObject *watched, QEvent *event)
{
    // txtFileKeyDown: characters that a file name must not hold are dropped with their key.
    if (watched == txtFile && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        for (QChar c : typed)
            if (isRefusedKey(c))
                return true;
    }
    return WorkWindow::eventFilter(watched, event);
}

void FrmCreaCollection::btnApplicaClick()
{
    lblFile->clear();
    const QString name = ctrim(txtFile->text());
    if (name.isEmpty()) {
        desktop().warning(QString::fromUtf8(kEmptyName));
        txtFile->setFocus();
        return;
    }
    // Pasted text escapes the key filter; a separator or ".." would create the file elsewhere.
    const QString path = ProgramFolder::path() + name + QStringLiteral(".mus");
    if (leavesProgramFolder(name) ||
        QDir::cleanPath(QFileInfo(path).absolutePath()) != QDir::cleanPath(ProgramFolder::path())) {
        desktop().warning(QString::fromUtf8(kOutside));
        txtFile->setFocus();
        return;
    }
    lblFile->setText(path);
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
        desktop().warning(QString::fromUtf8(kExists));
        return;
    }
    {
        // NewOnly: a file that appeared meanwhile is never emptied.
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            throw FileError(file.errorString());
        file.close();
    }
    desktop().information(QString::fromUtf8(kCreated));
    close();
}

void FrmCreaCollection::btnAnnullaClick()
{
    close();
}

void FrmCreaCollection::imgGuidaClick()
{
    FrmGuida::showTopic(this, QString::fromUtf8(kCollectionHelpTitle),
                        FrmGuida::joinParagraphs(collectionHelpParagraphs()));
}
