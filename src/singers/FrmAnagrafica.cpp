#include "singers/FrmAnagrafica.h"

#include "app/Desktop.h"
#include "app/Fields.h"
#include "app/FrmGuida.h"
#include "app/Preferences.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "attachments/FrmAllegaCartella.h"
#include "core/Text.h"
#include "lists/ListCommands.h"
#include "output/FrmAnteprimaAnagrafica.h"
#include "output/FrmExpAnagrafica.h"
#include "output/FrmStampaAnagrafica.h"
#include "singers/FrmSlideshow_Anagrafica.h"
#include "singers/FrmZoom.h"
#include "app/PictureBox.h"
#include "records/SingerCard.h"
#include "records/SingerPhoto.h"
#include "stats/FrmStatistiche.h"

#include "table/FrmElenco.h"
#include "table/TableCompanion.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

namespace
{
const QString kNeedNome =
    QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il nome d'arte del cantante.");
const QString kNeedSesso =
    QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il sesso del cantante (M o F).");
const QString kNeedCittadinanza =
    QStringLiteral("Attenzione: per salvare la scheda è necessario indicare la cittadinanza del cantante.");
const QString kNeedEstremi =
    QStringLiteral("Attenzione: per salvare la scheda è necessario indicare la canzone più famosa.");
const QString kDiscographyUnsaved = QStringLiteral(
    "Attenzione: la gestione della discografia può avvenire soltanto dopo che la scheda del cantante è "
    "stata salvata in archivio.");
const QString kDiscographyNome = QStringLiteral("Attenzione: per accedere alla gestione della discografia è "
                                                "necessario indicare il nome d'arte del cantante.");
// A photo that cannot be written is reported, and the picture stays in the preview, so that
// the user can retry instead of believing it stored.
const QString kPhotoNotSaved = QStringLiteral(
    "Attenzione: non è stato possibile salvare la foto della scheda.\r\n\r\nLa foto resta visualizzata: "
    "accertarsi di possedere i privilegi di scrittura nella cartella Anagrafica del programma e salvare "
    "nuovamente la scheda.");
const QString kCopyNotSaved =
    QStringLiteral("Attenzione: non è stato possibile salvare la foto nel file indicato.");
const QString kHelpTitle = QStringLiteral("Applicazione Archivio Cantanti.");

const QString kOpenTitle = QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap.");
const FileFilters kOpenFilter = {
    {QStringLiteral("Immagine JPEG"), {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}},
    {QStringLiteral("Immagine Bitmap"), {QStringLiteral("*.bmp")}},
};
const QString kSaveTitle = QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg.");
const FileFilters kSaveFilter = {{QStringLiteral("File Jpeg"), {QStringLiteral("*.jpg")}}};
const QString kSaveProposal = QStringLiteral("Foto.jpg");
const QString kSaveSuffix = QStringLiteral("jpg");
const QString kPhotoFolders = QStringLiteral("foto");

struct FieldPlace {
    QLineEdit *FrmAnagrafica::*member;
    SingerCard::Field field; // control name and caption come from the card's field table
    int x, top, width;
};

// Where each field stands, in tab and Enter order.
const FieldPlace kFieldPlaces[] = {
    {&FrmAnagrafica::txtNome, SingerCard::Nome, 364, 164, 240},
    {&FrmAnagrafica::txtSesso, SingerCard::Sesso, 610, 164, 52},
    {&FrmAnagrafica::txtDataNasc, SingerCard::DataNasc, 668, 164, 120},
    {&FrmAnagrafica::txtCittadinanza, SingerCard::Cittadinanza, 794, 164, 170},
    {&FrmAnagrafica::txtLuogoNasc, SingerCard::LuogoNasc, 364, 212, 240},
    {&FrmAnagrafica::txtIndirizzo, SingerCard::Indirizzo, 610, 212, 354},
    {&FrmAnagrafica::txtCodFisc, SingerCard::CodFisc, 364, 260, 240},
    {&FrmAnagrafica::txtEstremi, SingerCard::Estremi, 610, 260, 354},
    {&FrmAnagrafica::txtEmail, SingerCard::Email, 364, 308, 240},
    {&FrmAnagrafica::txtTel, SingerCard::Tel, 610, 308, 174},
    {&FrmAnagrafica::txtCellulare, SingerCard::Cellulare, 790, 308, 174},
    {&FrmAnagrafica::txtStudio, SingerCard::Studio, 364, 356, 240},
    {&FrmAnagrafica::txtLingue, SingerCard::Lingue, 610, 356, 354},
    {&FrmAnagrafica::txtPartitaIva, SingerCard::PartitaIva, 364, 404, 240},
    {&FrmAnagrafica::txtIban, SingerCard::Iban, 610, 404, 354},
    {&FrmAnagrafica::txtAltezza, SingerCard::Altezza, 364, 452, 145},
    {&FrmAnagrafica::txtPeso, SingerCard::Peso, 515, 452, 146},
    {&FrmAnagrafica::txtOcchi, SingerCard::Occhi, 667, 452, 145},
    {&FrmAnagrafica::txtCapelli, SingerCard::Capelli, 818, 452, 146},
    {&FrmAnagrafica::txtVita, SingerCard::Vita, 364, 500, 145},
    {&FrmAnagrafica::txtFianchi, SingerCard::Fianchi, 515, 500, 146},
    {&FrmAnagrafica::txtTaglia, SingerCard::Taglia, 667, 500, 145},
    {&FrmAnagrafica::txtScarpe, SingerCard::Scarpe, 818, 500, 146},
    {&FrmAnagrafica::txtEsperienze, SingerCard::Esperienze, 364, 548, 297},
    {&FrmAnagrafica::txtDisponibilita, SingerCard::Disponibilita, 667, 548, 297},
    {&FrmAnagrafica::txtNote, SingerCard::Note, 86, 596, 651},
};

QString resource(const char *name)
{
    return QStringLiteral(":/singers/") + QLatin1String(name) + QStringLiteral(".svg");
}

// Sex is one capital letter; only ASCII letters change case.
QString upperAscii(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return out;
}

} // namespace

FrmAnagrafica::FrmAnagrafica()
    : CardEditor(QStringLiteral("frmAnagrafica"), QStringLiteral(" Cantorium - Archivio Cantanti"),
                 QSize(996, 692))
{
    QWidget *p = panel();
    // Frame, tool bar boxes, card area and information bar lie behind everything else.
    QWidget *shpCornice =
        shape(p, QStringLiteral("shpCornice"), QRect(6, 6, 984, 680), Look::kWorkTop, Qt::white, Qt::white);
    const QRect boxes[] = {{18, 20, 209, 51},  {232, 20, 160, 51}, {399, 20, 120, 51},
                           {526, 20, 219, 51}, {751, 20, 129, 51},  {888, 20, 91, 51}};
    QList<QWidget *> background{this, p, shpCornice};
    int n = 1;
    for (const QRect &r : boxes)
        background << shape(p, QStringLiteral("shpBarra%1").arg(n++), r, Qt::white, Look::kLightSteelBlue);
    background << shape(p, QStringLiteral("shpScheda"), QRect(16, 82, 962, 556), Look::kCardArea,
                        Look::kBarBorder);
    background << shape(p, QStringLiteral("shpFoglio"), QRect(22, 88, 950, 544), Qt::white, Look::kCardArea);
    background << shape(p, QStringLiteral("shpFoto"), QRect(30, 95, 323, 425), Look::kPhotoFrame,
                        Look::kCardArea);
    infoBar(QRect(16, 644, 962, 32));

    buildToolBar();
    buildCardArea();
    background << imgFoto;
    for (QWidget *w : background)
        hints()->background(w);

    chainTabOrder(QList<QWidget *>(m_fields.cbegin(), m_fields.cend()));
    Fields::enterChain(QList<QWidget *>(m_fields.cbegin(), m_fields.cend()));
    // Built with the tool bar, it lies on the header drawn after it.
    cmdElenco->raise();
    // The empty card the window is made with is the card compared against until one is shown.
    takeAsLoaded();

    m_table = new TableCompanion(this, ArchiveKind::Singers);
    growWithWindow();
    // Past the designed size the card area grows, the notes take the extra width and the
    // information bar stays at the bottom; the other controls keep their places.
    for (QWidget *w : {shpCornice, p->findChild<QWidget *>(QStringLiteral("shpScheda")),
                       p->findChild<QWidget *>(QStringLiteral("shpFoglio"))})
        grow(w, kFill);
    grow(p->findChild<QWidget *>(QStringLiteral("shpInfo")), kWiderDown);
    grow(panInfo, kWiderDown);
    grow(txtNote, kWider);
    grow(btnFilmografia, {1, 0, 1, 0});
}

void FrmAnagrafica::showTable()
{
    m_table->show(archivePath());
}

FrmElenco *FrmAnagrafica::table() const
{
    return m_table->window();
}

void FrmAnagrafica::buildToolBar()
{
    const QSize icon(37, 39);
    const QSize photoIcon(42, 40);
    buildCommands(
        QStringLiteral(":/singers/"),
        {
            {&cmdNuovo, "cmdNuovo", "nuovo", {QPoint(24, 26), icon}, [this] { cmdNuovoClick(); }},
            {&cmdDuplica, "cmdDuplica", "duplica", {QPoint(64, 26), icon}, [this] { cmdDuplicaClick(); }},
            {&cmdSalva, "cmdSalva", "salva", {QPoint(104, 26), icon}, [this] { cmdSalvaClick(); }},
            {&cmdTrova, "cmdTrova", "trova", {QPoint(144, 26), icon}, [this] { cmdTrovaClick(); }},
            {&cmdFile, "cmdFile", "allega", {QPoint(184, 26), icon}, [this] { cmdFileClick(); }},
            {&cmdAnteprima, "cmdAnteprima", "anteprima", {238, 28, 148, 32}, [this] { cmdAnteprimaClick(); }},
            {&cmdStampa, "cmdStampa", "stampa", {405, 28, 108, 32}, [this] { cmdStampaClick(); }},
            {&cmdPrimo, "cmdPrimo", "primo", {QPoint(532, 26), icon}, [this] { cmdPrimoClick(); }},
            {&cmdIndietro,
             "cmdIndietro",
             "indietro",
             {QPoint(574, 26), icon},
             [this] { cmdIndietroClick(); }},
            {&cmdAvanti, "cmdAvanti", "avanti", {QPoint(660, 26), icon}, [this] { cmdAvantiClick(); }},
            {&cmdUltimo, "cmdUltimo", "ultimo", {QPoint(702, 26), icon}, [this] { cmdUltimoClick(); }},
            {&cmdEsporta, "cmdEsporta", "esporta", {QPoint(757, 26), icon}, [this] { cmdEsportaClick(); }},
            {&cmdSlideshow,
             "cmdSlideshow",
             "slideshow",
             {QPoint(797, 26), icon},
             [this] { cmdSlideshowClick(); },
             QStringLiteral("Esegui lo slide show.")},
            {&cmdStatistiche,
             "cmdStatistiche",
             "statistiche",
             {QPoint(837, 26), icon},
             [this] { cmdStatisticheClick(); },
             QStringLiteral("Visualizza le statistiche dell'archivio dei cantanti con i grafici.")},
            {&cmdGuida, "cmdGuida", "guida", {QPoint(894, 26), icon}, [this] { cmdGuidaClick(); }},
            {&cmdEsci, "cmdEsci", "esci", {QPoint(936, 26), icon}, [this] { cmdEsciClick(); }},
            {&cmdElenco, "cmdElenco", "elenco", {938, 97, 26, 26}, [this] { showTable(); }},
            {&btnCaricaFoto,
             "btnCaricaFoto",
             "caricafoto",
             {38, 534, 157, 40},
             [this] { btnCaricaFotoClick(); },
             QStringLiteral("Carica una foto esistente.")},
            {&btnSalvaFoto,
             "btnSalvaFoto",
             "salvafoto",
             {QPoint(204, 534), photoIcon},
             [this] { btnSalvaFotoClick(); },
             QStringLiteral("Salva la foto su disco.")},
            {&btnCancFoto,
             "btnCancFoto",
             "cancfoto",
             {QPoint(254, 534), photoIcon},
             [this] { btnCancFotoClick(); },
             QStringLiteral("Cancella la foto.")},
            {&btnZoomFoto,
             "btnZoomFoto",
             "zoomfoto",
             {QPoint(304, 534), photoIcon},
             [this] { btnZoomFotoClick(); },
             QStringLiteral("Visualizza la foto nelle sue dimensioni reali.")},
            {&btnFilmografia,
             "btnFilmografia",
             "discografia",
             {766, 580, 197, 40},
             [this] { btnFilmografiaClick(); },
             QStringLiteral("Gestisci la discografia del cantante.")},
        });
    placePosition(QRect(610, 34, 50, 24), true);
}

void FrmAnagrafica::buildCardArea()
{
    QWidget *p = panel();
    imgBianco = new PictureBox(p, QStringLiteral("imgBianco"), QRect(38, 103, 307, 409));
    imgBianco->setPicture(SingerPhoto::placeholder());
    imgBianco->hide();
    imgFoto = new PictureBox(p, QStringLiteral("imgFoto"), QRect(38, 103, 307, 409));
    imgFoto->setPicture(imgBianco->picture());

    auto *icoIntestazione = new QLabel(p);
    icoIntestazione->setObjectName(QStringLiteral("icoIntestazione"));
    icoIntestazione->setGeometry(364, 94, 600, 32);
    icoIntestazione->setPixmap(
        Look::svg(resource("intestazione"), QSize(600, 32), devicePixelRatioF(), Look::Fit::Keep));

    for (const FieldPlace &f : kFieldPlaces) {
        // FormCreate: each field holds exactly what its record field can.
        const int recordField = f.field;
        const FieldInfo &info = SingerCard::fields()[recordField];
        QLineEdit *field = cardField(QLatin1String(info.control + 3), f.x, f.top, f.width,
                                     SingerCard::schema().field(recordField).capacity(),
                                     info.caption ? QString::fromUtf8(info.caption) : QString());
        this->*f.member = field;
        m_fields << field;
        m_recordField << recordField;
    }
    txtSesso->setAlignment(Qt::AlignCenter);
    connect(txtSesso, &QLineEdit::textEdited, this, &FrmAnagrafica::txtSessoTyping);

    auto *icoNote = new QLabel(p);
    icoNote->setObjectName(QStringLiteral("icoNote"));
    icoNote->setGeometry(30, 596, 52, 22);
    icoNote->setPixmap(Look::svg(resource("note"), QSize(52, 22), devicePixelRatioF(), Look::Fit::Keep));
    // Its caption is a picture reading Note:.
    nameAfter(txtNote, QStringLiteral("Note"));
}

void FrmAnagrafica::clearCard()
{
    for (QLineEdit *field : m_fields)
        field->clear();
    imgFoto->setPicture(imgBianco->picture());
    txtNome->setFocus();
}

SingerCard FrmAnagrafica::card() const
{
    SingerCard card;
    for (int i = 0; i < m_fields.size(); ++i)
        card.setText(m_recordField.at(i), m_fields.at(i)->text());
    for (int i = 0; i < 6; ++i)
        card.setText(SingerCard::File01 + i, attachmentText(i));
    return card;
}

void FrmAnagrafica::showCard(const SingerCard &card, qint64 position)
{
    for (int i = 0; i < m_fields.size(); ++i)
        m_fields.at(i)->setText(card.text(m_recordField.at(i)));
    for (int i = 0; i < 6; ++i)
        setAttachmentText(i, card.text(SingerCard::File01 + i));
    setPosition(position);
    showFieldsFromStart();
    loadPhoto();
}

void FrmAnagrafica::loadPhoto()
{
    const qint64 position = session().position;
    SingerPhoto::Photo photo;
    if (position > 0 && SingerPhoto::ensureFolder())
        photo = SingerPhoto::Photo::fromFile(SingerPhoto::fileFor(QString::number(position)));
    // Decoded only at the size of the preview; the stored file stays the photo itself.
    if (!imgFoto->setPhoto(photo))
        imgFoto->setPicture(imgBianco->picture());
}

bool FrmAnagrafica::savePhoto()
{
    const QString position = QString::number(session().position);
    // The card's own photo, still as it was read, keeps its file; anything else is written.
    return SingerPhoto::ensureFolder() &&
           SingerPhoto::store(imgFoto->photo(), SingerPhoto::fileFor(position));
}

void FrmAnagrafica::txtSessoTyping(const QString &typed)
{
    const QString cleaned = upperAscii(ctrim(typed));
    if (cleaned != typed)
        txtSesso->setText(cleaned);
}

QString FrmAnagrafica::archivePath() const
{
    return SingerArchive::path();
}

int FrmAnagrafica::recordSize() const
{
    return SingerCard::kSize;
}

void FrmAnagrafica::showRecord(const QByteArray &record, qint64 position)
{
    showCard(SingerCard::decode(record), position);
}

QByteArray FrmAnagrafica::recordShown() const
{
    return card().encode();
}

QByteArray FrmAnagrafica::shownBesidesRecord() const
{
    // The photo is part of the card: one read from a file is told by that file and its bytes,
    // a picture in memory (the placeholder, a pasted one) by the picture itself.
    const SingerPhoto::Photo &photo = imgFoto->photo();
    if (!photo.sourceFile().isEmpty())
        return photo.sourceFile().toUtf8() + '\0' + photo.encoded();
    return QByteArray::number(photo.picture().cacheKey());
}

QList<std::pair<QLineEdit *, QString>> FrmAnagrafica::requiredFields() const
{
    return {{txtNome, kNeedNome},
            {txtSesso, kNeedSesso},
            {txtCittadinanza, kNeedCittadinanza},
            {txtEstremi, kNeedEstremi}};
}

Desktop::Kind FrmAnagrafica::saveFailureKind() const
{
    return Desktop::Kind::Error;
}

QString FrmAnagrafica::afterStore(qint64)
{
    // Every stored card has its photo: the placeholder picture when none was loaded.
    return savePhoto() ? QString() : kPhotoNotSaved;
}

void FrmAnagrafica::leaveBehindOnCopy()
{
    // The photo stays with the card the copy came from.
    imgFoto->setPicture(imgBianco->picture());
}

QWidget *FrmAnagrafica::firstField() const
{
    return txtNome;
}

void FrmAnagrafica::btnFilmografiaClick()
{
    if (session().position == 0) {
        desktop().warning(kDiscographyUnsaved);
        return;
    }
    if (ctrim(txtNome->text()).isEmpty()) {
        desktop().warning(kDiscographyNome);
        txtNome->setFocus();
        return;
    }
    ListCommands::discography(this, session().position, txtNome->text());
}

void FrmAnagrafica::cmdTrovaClick()
{
    ListCommands::findSinger(this, [this](qint64 at) { openCard(at); });
}

void FrmAnagrafica::cmdAnteprimaClick()
{
    FrmAnteprimaAnagrafica window(this, card(), imgFoto->photo(), SingerPhoto::placeholder());
    desktop().runModal(&window);
}

void FrmAnagrafica::cmdStampaClick()
{
    FrmStampaAnagrafica window(this, card(), imgFoto->photo(), SingerPhoto::placeholder());
    desktop().runModal(&window);
}

void FrmAnagrafica::cmdFileClick()
{
    FrmAllegaCartella window(this, QStringLiteral("anagrafica"));
    window.setAttachments(attachments());
    desktop().runModal(&window);
}

void FrmAnagrafica::cmdEsportaClick()
{
    FrmExpAnagrafica window(this);
    desktop().runModal(&window);
}

void FrmAnagrafica::cmdSlideshowClick()
{
    FrmSlideshow_Anagrafica window(this);
    desktop().runModal(&window);
}

void FrmAnagrafica::cmdStatisticheClick()
{
    // A photo counts when its file is there as a file, as the editor would load it.
    const auto hasPhoto = [](qint64 position) {
        return QFileInfo(SingerPhoto::fileFor(QString::number(position))).isFile();
    };
    const qint64 picked =
        FrmStatistiche::run(this, {StatsSource::Kind::Singers, archivePath(), hasPhoto});
    if (picked > 0)
        showStoredCard(picked);
}

void FrmAnagrafica::cmdGuidaClick()
{
    FrmGuida::showTopic(this, kHelpTitle, helpText());
}

void FrmAnagrafica::btnCaricaFotoClick()
{
    const QString chosen = desktop().openFileName(this, kOpenTitle, Preferences::startFolder(kPhotoFolders), kOpenFilter);
    if (chosen.isEmpty())
        return;
    Preferences::rememberFolder(kPhotoFolders, chosen);
    if (!imgFoto->setPhoto(SingerPhoto::Photo::fromFile(chosen)))
        imgFoto->setPicture(imgBianco->picture());
}

void FrmAnagrafica::btnSalvaFotoClick()
{
    // The dialog adds the extension itself, so its question about replacing a file is asked
    // about the name that is written.
    const QString chosen = desktop().saveFileName(
        this, kSaveTitle, Preferences::startFolder(kPhotoFolders) + QLatin1Char('/') + kSaveProposal, kSaveFilter,
        kSaveSuffix);
    if (chosen.isEmpty())
        return;
    Preferences::rememberFolder(kPhotoFolders, chosen);
    if (!SingerPhoto::save(imgFoto->picture(), chosen))
        desktop().warning(kCopyNotSaved);
}

void FrmAnagrafica::btnCancFotoClick()
{
    imgFoto->setPicture(imgBianco->picture());
}

void FrmAnagrafica::btnZoomFotoClick()
{
    FrmZoom window(this);
    window.setPhoto(imgFoto->photo(), imgBianco->picture());
    desktop().runModal(&window);
}

QString FrmAnagrafica::helpText()
{
    return FrmGuida::joinParagraphs({
        QStringLiteral(
            "L'Archivio Cantanti raccoglie le schede biografiche degli artisti che ami. Per ogni cantante "
            "puoi annotare il nome d'arte, il sesso, la data e il luogo di nascita, la cittadinanza, il nome "
            "anagrafico, la canzone d'esordio e quella più famosa, il coniuge, i figli, l'eventuale data del "
            "decesso, il titolo di studio, le lingue conosciute, la presenza sui social media, la band di "
            "appartenenza, l'altezza, il peso, il colore degli occhi e dei capelli, gli impegni sociali, le "
            "altre attività, la residenza attuale, il tuo giudizio personale, i generi musicali, i premi e i "
            "riconoscimenti ottenuti e le note libere, oltre alla foto e alla discografia."),
        QStringLiteral(
            "Per inserire una nuova scheda premi il pulsante Nuovo, compila i campi, carica se vuoi una foto "
            "e premi Salva. Per modificare una scheda esistente visualizzala con le frecce di navigazione o "
            "con la ricerca, apporta le modifiche e premi di nuovo Salva. Il nome d'arte di ogni cantante "
            "archiviato può essere importato nelle schede delle canzoni delle tue collection."),
        QStringLiteral(
            "Il pulsante Duplica serve a creare rapidamente una scheda simile a quella visualizzata, per "
            "esempio per i componenti di uno stesso gruppo: visualizza la scheda da copiare, premi Duplica, "
            "modifica i dati che cambiano e premi Salva. La copia è una nuova scheda, senza foto, senza file "
            "allegati e senza discografia."),
        QStringLiteral(
            "Con il pulsante Carica foto puoi associare alla scheda una foto in formato JPEG o Bitmap, che "
            "viene ridotta automaticamente per essere contenuta nel riquadro di anteprima. Il pulsante con "
            "la "
            "lente mostra la foto a tutto schermo nelle sue dimensioni reali, quello con il dischetto ne "
            "salva "
            "una copia su disco e quello con la croce la cancella. La foto viene archiviata insieme alla "
            "scheda quando premi Salva."),
        QStringLiteral(
            "Con il pulsante Allega file puoi collegare a ogni scheda fino a tre documenti di qualsiasi "
            "tipo, "
            "per esempio i file audio o video delle canzoni del cantante, le sue interviste o i suoi testi, "
            "ciascuno con una breve descrizione."),
        QStringLiteral(
            "Lo slide show mostra a tutto schermo, una dopo l'altra, le foto di tutti i cantanti presenti in "
            "archivio, cambiandole ogni sei secondi e ricominciando dalla prima dopo l'ultima. Per "
            "interromperlo basta fare clic in un punto qualsiasi dello schermo."),
        QStringLiteral(
            "La ricerca trova le schede in archivio inserendo chiavi anche parziali in uno o più campi "
            "contemporaneamente: puoi elencare, per esempio, tutti i cantanti di un certo genere musicale "
            "oppure tutti i vincitori di un determinato premio."),
        QStringLiteral(
            "Una volta salvata la scheda, il pulsante Discografia apre l'elenco dei brani del cantante, che "
            "puoi consultare e stampare. Per aggiungere un brano premi Aggiungi canzone, indica titolo, "
            "anno, "
            "genere, parolieri e durata, poi premi Salva e Chiudi; per modificarne uno selezionalo, premi "
            "Modifica canzone, apporta le modifiche, poi premi Salva e Chiudi. Il numero dei brani è "
            "indicato "
            "in fondo all'elenco."),
        QStringLiteral(
            "I dati e le foto sono archiviati in file all'interno della cartella del programma: per fare una "
            "copia di sicurezza basta copiare l'intera cartella, e per ripristinarla basta sovrascriverla "
            "con "
            "la copia."),
        QStringLiteral(
            "Puoi esportare i testi di tutte le schede dell'archivio in un file di Microsoft Excel, e "
            "visualizzare l'anteprima di stampa o stampare ogni singola scheda completa di foto."),
    });
}
