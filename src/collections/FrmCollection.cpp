#include "collections/FrmCollection.h"

#include "app/Desktop.h"
#include "app/Fields.h"
#include "app/FrmGuida.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "attachments/FrmAllegaCartella.h"
#include "collections/CollectionArt.h"
#include "collections/CollectionHelp.h"
#include "core/RecordFile.h"
#include "records/SingerCard.h"
#include "records/SongCard.h"
#include "core/RecordFile.h"
#include "core/Text.h"
#include "import/FrmImportaBrani.h"
#include "lists/ListCommands.h"
#include "output/FrmAnteprimaCanzone.h"
#include "output/FrmExpCollection.h"
#include "output/FrmStampaCanzone.h"
#include "stats/FrmStatistiche.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

namespace
{
const QString kNoTitle =
    QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il titolo della canzone.");
const QString kNoSinger =
    QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il nome del cantante.");
const char *const kNoAddress = "Attenzione: per collegarsi al sito è necessario indicare il suo Indirizzo.";
const char *const kBadAddress = "Attenzione: l'indirizzo indicato non è un indirizzo Web "
                                "valido.\n\r\n\rIndicare un indirizzo che inizi con "
                                "http:// oppure https:// seguito dal nome del sito.";

const QString kNewAddress = QStringLiteral("https://");

// What a field of the record holds: its width less the terminating zero.
int capacityOf(const char *field)
{
    const RecordSchema &schema = SongCard::schema();
    return schema.field(schema.indexOf(QLatin1String(field))).capacity();
}

// The caption a field's table row gives it.
QString caption(int field)
{
    return QString::fromUtf8(SongCard::fields()[field].caption);
}

// Typing, pasting or dropping into a memo stops at the capacity of its record field; the
// characters beyond it are dropped from the end of what was just inserted.
class MemoLimit : public QObject
{
public:
    MemoLimit(QPlainTextEdit *memo, int limit)
        : QObject(memo)
        , m_memo(memo)
        , m_limit(limit)
    {
        connect(memo->document(), &QTextDocument::contentsChange, this, [this](int position, int, int added) {
            m_position = position;
            m_added = added;
        });
        connect(memo, &QPlainTextEdit::textChanged, this, [this] { enforce(); });
    }

private:
    void enforce()
    {
        const QString text = FrmCollection::memoText(m_memo);
        qsizetype excess = FrmCollection::storedLength(text) - m_limit;
        if (excess <= 0 || m_added <= 0)
            return;
        const int end = qMin<int>(m_position + m_added, int(text.size()));
        int from = end;
        while (from > m_position && excess > 0) {
            --from;
            excess -= text.at(from) == QLatin1Char('\n') ? 2 : 1;
        }
        if (from > 0 && from < text.size() && text.at(from).isLowSurrogate())
            --from; // never leave half a character behind
        m_added = 0;
        QTextCursor cursor(m_memo->document());
        cursor.setPosition(from);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }

    QPlainTextEdit *m_memo;
    int m_limit;
    int m_position = 0;
    int m_added = 0;
};

QPlainTextEdit *memo(QWidget *parent, const char *field, int x, int y)
{
    auto *m = new QPlainTextEdit(parent);
    m->setObjectName(QStringLiteral("txt") + QLatin1String(field));
    m->setGeometry(x, y, 440, 144);
    m->setFont(Look::font(QStringLiteral("Verdana"), 12, true));
    m->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m->setTabChangesFocus(true);
    new MemoLimit(m, capacityOf(field));
    return m;
}

void setMemo(QPlainTextEdit *m, const QString &text)
{
    // A card loaded from the file is shown as it is, not cut to the typing limit.
    const QSignalBlocker block(m);
    m->setPlainText(text);
}

} // namespace

FrmCollection::FrmCollection()
    : CardEditor(QStringLiteral("frmCollection"), QStringLiteral(" Cantorium - Collection Musicale"),
                 QSize(994, 692))
{
    QWidget *p = panel();
    const QColor white = Qt::white;

    QList<QWidget *> background{this, p};
    background << shape(p, QStringLiteral("shpContainer"), QRect(8, 8, 978, 675), Look::kWorkTop, white,
                        white);
    const struct {
        const char *name;
        int x, width;
    } boxes[] = {{"shpPulsanti01", 16, 172},  {"shpPulsanti02", 193, 142}, {"shpAnteprima", 341, 162},
                 {"shpPulsanti03", 509, 212}, {"shpPulsanti04", 726, 166}, {"shpPulsanti05", 897, 81}};
    for (const auto &b : boxes)
        background << shape(p, QString::fromLatin1(b.name), QRect(b.x, 16, b.width, 57), white,
                            Look::kBoxBorder);
    background << shape(p, QStringLiteral("shpSfondo"), QRect(16, 80, 962, 556), Look::kCardArea, QColor());
    // The hint line lies on the information bar and counts as the bar.
    background << infoBar(QRect(16, 642, 962, 32)) << panInfo;

    buildToolBar();

    background << shape(p, QStringLiteral("bkgTitolo"), QRect(24, 88, 946, 30), Look::kInfoBar, QColor());
    lblNome = new QLabel(QStringLiteral("Nome collection musicale"), p);
    lblNome->setObjectName(QStringLiteral("lblNome"));
    lblNome->setGeometry(32, 91, 930, 24);
    lblNome->setAlignment(Qt::AlignCenter);
    lblNome->setTextFormat(Qt::PlainText);
    lblNome->setFont(Look::font(QStringLiteral("Verdana"), 14));
    QPalette np = lblNome->palette();
    np.setColor(QPalette::WindowText, Qt::yellow);
    lblNome->setPalette(np);
    // The collection's name counts as the title bar it lies on.
    background << lblNome;
    background << shape(p, QStringLiteral("bkgSfondo"), QRect(24, 128, 946, 500), white, QColor());

    buildCard(p);
    background << p->findChild<QWidget *>(QStringLiteral("bkgSfondoGrigio"))
               << p->findChild<QWidget *>(QStringLiteral("bkgSegnala"))
               << p->findChild<QWidget *>(QStringLiteral("sfoSegnala"));
    for (QWidget *element : background)
        hints()->background(element);

    lblFile = stateLabel(p, QStringLiteral("lblFile"));
}

void FrmCollection::buildToolBar()
{
    const QSize icon(37, 39);
    buildCommands(
        QStringLiteral(":/collections/"),
        {
            {&cmdNuovo, "cmdNuovo", "nuovo", {QPoint(24, 26), icon}, [this] { cmdNuovoClick(); }},
            {&cmdDuplica, "cmdDuplica", "duplica", {QPoint(64, 26), icon}, [this] { cmdDuplicaClick(); }},
            {&cmdSalva, "cmdSalva", "salva", {QPoint(104, 26), icon}, [this] { cmdSalvaClick(); }},
            {&cmdTrova,
             "cmdTrova",
             "trova",
             {QPoint(144, 26), icon},
             [this] { ListCommands::findSong(this, archivePath(), [this](qint64 at) { openCard(at); }); }},
            {&cmdFile, "cmdFile", "allega", {200, 28, 128, 32}, [this] { cmdFileClick(); }},
            {&cmdAnteprima,
             "cmdAnteprima",
             "anteprima",
             {QPoint(348, 26), icon},
             [this] { cmdAnteprimaClick(); }},
            {&cmdStampa, "cmdStampa", "stampa", {388, 28, 108, 32}, [this] { cmdStampaClick(); }},
            {&cmdPrimo, "cmdPrimo", "primo", {QPoint(517, 26), icon}, [this] { cmdPrimoClick(); }},
            {&cmdIndietro,
             "cmdIndietro",
             "indietro",
             {QPoint(559, 26), icon},
             [this] { cmdIndietroClick(); }},
            {&cmdAvanti, "cmdAvanti", "avanti", {QPoint(637, 26), icon}, [this] { cmdAvantiClick(); }},
            {&cmdUltimo, "cmdUltimo", "ultimo", {QPoint(679, 26), icon}, [this] { cmdUltimoClick(); }},
            {&cmdEsporta, "cmdEsporta", "esporta", {QPoint(732, 26), icon}, [this] { cmdEsportaClick(); }},
            {&cmdImportaBrani,
             "cmdImportaBrani",
             "importa_brani",
             {QPoint(771, 26), icon},
             [this] { cmdImportaBraniClick(); },
             QStringLiteral("Importa le schede dei brani dai file audio di una cartella.")},
            {&cmdSegnala,
             "cmdSegnala",
             "segnala",
             {QPoint(810, 26), icon},
             [this] { ListCommands::flaggedSongs(this, archivePath(), [this](qint64 at) { openCard(at); }); },
             QStringLiteral("Visualizza l'elenco delle canzoni segnalate.")},
            {&cmdStatistiche,
             "cmdStatistiche",
             "statistiche",
             {QPoint(849, 26), icon},
             [this] { cmdStatisticheClick(); },
             QStringLiteral("Visualizza le statistiche della collection con i grafici.")},
            {&cmdGuida, "cmdGuida", "guida", {QPoint(903, 26), icon}, [this] { cmdGuidaClick(); }},
            {&cmdEsci, "cmdEsci", "esci", {QPoint(939, 26), icon}, [this] { cmdEsciClick(); }},
        });

    const QFont buttonFont = Look::font(QStringLiteral("Verdana"), 10, true);
    wordsOn(cmdFile, QStringLiteral("Allega file"), buttonFont, Look::kInk, Qt::AlignCenter,
            QMargins(30, 0, 4, 0));
    wordsOn(cmdStampa, QStringLiteral("Stampa"), buttonFont, Look::kInk, Qt::AlignCenter,
            QMargins(30, 0, 4, 0));

    // The position shown between the arrows; it is also the editor's state label.
    placePosition(QRect(595, 34, 42, 24));
}

QLineEdit *FrmCollection::tableField(int field, int x, int y, int width)
{
    const FieldInfo &f = SongCard::fields()[field];
    return cardField(QLatin1String(f.control + 3), x, y, width, SongCard::schema().field(field).capacity(),
                     caption(field));
}

void FrmCollection::buildCard(QWidget *p)
{
    icoCD = CollectionArt::picture(p, QStringLiteral("icoCD"), QStringLiteral(":/collections/cd.svg"),
                                   QRect(36, 142, 175, 174));

    // Where each one-line field of the top rows stands; control name and caption come from the
    // card's field table.
    struct FieldPlace {
        QLineEdit *FrmCollection::*member;
        SongCard::Field field;
        int x, y, width;
    };
    const FieldPlace places[] = {
        {&FrmCollection::txtTitolo, SongCard::Titolo, 236, 156, 392},
        {&FrmCollection::txtCantante, SongCard::Cantante, 668, 156, 262},
        {&FrmCollection::txtAlbum, SongCard::Album, 236, 204, 420},
        {&FrmCollection::txtGenere, SongCard::Genere, 668, 204, 290},
        {&FrmCollection::txtAutori, SongCard::Autori, 236, 252, 420},
        {&FrmCollection::txtNazione, SongCard::Nazione, 668, 252, 180},
        {&FrmCollection::txtAnno, SongCard::Anno, 860, 252, 98},
        {&FrmCollection::txtPremi, SongCard::Premi, 236, 300, 420},
        {&FrmCollection::txtCasa, SongCard::Casa, 668, 300, 180},
        {&FrmCollection::txtDurata, SongCard::Durata, 860, 300, 98},
    };
    for (const FieldPlace &s : places)
        this->*s.member = tableField(s.field, s.x, s.y, s.width);
    impCantante = new ClickPicture(p, QStringLiteral("impCantante"),
                                   QStringLiteral(":/collections/importa.svg"), QRect(936, 156, 22, 22));
    hints()->command(impCantante, QStringLiteral("Importa il nome d'arte dall'archivio dei cantanti."));
    connect(impCantante, &ClickPicture::clicked, this,
            [this] { guarded([this] { ListCommands::importSinger(this, [this](qint64 at) { importSinger(at); }); }); });

    shape(p, QStringLiteral("bkgSfondoGrigio"), QRect(36, 336, 922, 186), Look::kGreyBandTop,
          Look::kGreyBandBottom);
    QLabel *lblTesto = fieldCaption(QStringLiteral("Testo"), caption(SongCard::Testo), 50, 365);
    txtTesto = memo(p, "Testo", 50, 365);
    nameAfter(txtTesto, lblTesto->text(), lblTesto);
    QLabel *lblStoria = fieldCaption(QStringLiteral("Storia"), caption(SongCard::Storia), 504, 365);
    txtStoria = memo(p, "Storia", 504, 365);
    nameAfter(txtStoria, lblStoria->text(), lblStoria);

    txtSito = tableField(SongCard::Sito, 36, 548, 426);
    txtSito->setText(kNewAddress);
    btnSito = new ClickPicture(p, QStringLiteral("btnSito"), QStringLiteral(":/collections/sito.svg"),
                               QRect(468, 548, 22, 22));
    hints()->command(btnSito, QStringLiteral("Visita il sito Web della canzone."));
    connect(btnSito, &ClickPicture::clicked, this, [this] { guarded([this] { btnSitoClick(); }); });
    txtMusica = tableField(SongCard::Musica, 504, 548, 454);

    txtNote = tableField(SongCard::Note, 36, 596, 758);

    shape(p, QStringLiteral("bkgSegnala"), QRect(808, 580, 150, 38), Look::kOrange,
          Look::kPaleOrange, Qt::white);
    shape(p, QStringLiteral("sfoSegnala"), QRect(814, 584, 30, 30), Qt::white, Look::kPaleOrange);
    icoSegnala =
        CollectionArt::picture(p, QStringLiteral("icoSegnala"), QStringLiteral(":/collections/bandiera.svg"),
                               QRect(816, 586, 26, 26));
    chkSegnala = new QCheckBox(QStringLiteral("Segnala"), p);
    chkSegnala->setObjectName(QStringLiteral("chkSegnala"));
    chkSegnala->setFont(Look::font(QStringLiteral("Verdana"), Look::kDefaultPoints, true));
    chkSegnala->setCursor(Qt::PointingHandCursor);
    chkSegnala->move(856, 588);
    chkSegnala->adjustSize();
    hints()->command(chkSegnala, QStringLiteral("Inserisci la scheda nell'elenco delle canzoni segnalate."));

    // Installed after the highlight, so the address is completed before the field repaints.
    txtSito->installEventFilter(this);

    Fields::enterChain({txtTitolo, txtCantante, txtAlbum, txtGenere, txtAutori, txtNazione, txtAnno, txtPremi,
                        txtCasa, txtDurata},
                       txtTesto);
    Fields::enterChain({txtSito, txtMusica, txtNote}, txtTitolo);

    chainTabOrder({txtTitolo, txtCantante, txtAlbum, txtGenere, txtAutori, txtNazione, txtAnno, txtPremi,
                   txtCasa, txtDurata, txtTesto, txtStoria, txtSito, txtMusica, txtNote, chkSegnala});
}

// --- state -------------------------------------------------------------------------------

QString FrmCollection::memoText(const QPlainTextEdit *memo)
{
    // toPlainText() would turn non-breaking spaces into blanks; the code page keeps them.
    QString text = memo->document()->toRawText();
    for (QChar &c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    return text;
}

qsizetype FrmCollection::storedLength(const QString &text)
{
    return text.size() + text.count(QLatin1Char('\n'));
}

bool FrmCollection::isWebAddress(const QString &address)
{
    const QUrl url(address, QUrl::TolerantMode);
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

void FrmCollection::openCollection(const QString &path, const QString &name)
{
    lblFile->setText(ctrim(path));
    lblNome->setText(name);
}

void FrmCollection::importSinger(qint64 position)
{
    RecordFile archive(SingerArchive::path(), SingerCard::kSize);
    const SingerCard card = SingerCard::decode(archive.read(position));
    archive.close();
    txtCantante->setText(ctrim(card.text(SingerCard::Nome)));
}

QString FrmCollection::archivePath() const
{
    return stateOf(lblFile);
}

int FrmCollection::recordSize() const
{
    return SongCard::kSize;
}

void FrmCollection::showRecord(const QByteArray &record, qint64 position)
{
    showCard(SongCard::decode(record), position);
}

QByteArray FrmCollection::recordShown() const
{
    return cardShown().encode();
}

QList<std::pair<QLineEdit *, QString>> FrmCollection::requiredFields() const
{
    // The title first: a card with neither title nor singer asks for the title.
    return {{txtTitolo, kNoTitle}, {txtCantante, kNoSinger}};
}

Desktop::Kind FrmCollection::saveFailureKind() const
{
    return Desktop::Kind::Plain;
}

QWidget *FrmCollection::firstField() const
{
    return txtTitolo;
}

SongCard FrmCollection::cardShown() const
{
    SongCard card;
    card.setText(SongCard::Titolo, txtTitolo->text());
    card.setText(SongCard::Cantante, txtCantante->text());
    card.setText(SongCard::Album, txtAlbum->text());
    card.setText(SongCard::Genere, txtGenere->text());
    card.setText(SongCard::Autori, txtAutori->text());
    card.setText(SongCard::Nazione, txtNazione->text());
    card.setText(SongCard::Anno, txtAnno->text());
    card.setText(SongCard::Premi, txtPremi->text());
    card.setText(SongCard::Casa, txtCasa->text());
    card.setText(SongCard::Durata, txtDurata->text());
    card.setText(SongCard::Testo, memoText(txtTesto));
    card.setText(SongCard::Storia, memoText(txtStoria));
    card.setText(SongCard::Sito, txtSito->text());
    card.setText(SongCard::Musica, txtMusica->text());
    card.setText(SongCard::Note, txtNote->text());
    card.setText(SongCard::Segnala, SongCard::flagText(chkSegnala->isChecked()));
    card.setText(SongCard::File01, lblFile01->text());
    card.setText(SongCard::File02, lblFile02->text());
    card.setText(SongCard::File03, lblFile03->text());
    card.setText(SongCard::Desc01, lblDesc01->text());
    card.setText(SongCard::Desc02, lblDesc02->text());
    card.setText(SongCard::Desc03, lblDesc03->text());
    return card;
}

void FrmCollection::showCard(const SongCard &card, qint64 position)
{
    txtTitolo->setText(card.text(SongCard::Titolo));
    txtCantante->setText(card.text(SongCard::Cantante));
    txtAlbum->setText(card.text(SongCard::Album));
    txtGenere->setText(card.text(SongCard::Genere));
    txtAutori->setText(card.text(SongCard::Autori));
    txtNazione->setText(card.text(SongCard::Nazione));
    txtAnno->setText(card.text(SongCard::Anno));
    txtPremi->setText(card.text(SongCard::Premi));
    txtCasa->setText(card.text(SongCard::Casa));
    txtDurata->setText(card.text(SongCard::Durata));
    setMemo(txtTesto, card.text(SongCard::Testo));
    setMemo(txtStoria, card.text(SongCard::Storia));
    txtSito->setText(card.text(SongCard::Sito));
    txtMusica->setText(card.text(SongCard::Musica));
    txtNote->setText(card.text(SongCard::Note));
    switch (card.flag()) {
    case SongCard::Flag::Flagged:
        chkSegnala->setChecked(true);
        break;
    case SongCard::Flag::NotFlagged:
        chkSegnala->setChecked(false);
        break;
    case SongCard::Flag::Neither:
        break; // a flag field written elsewhere leaves the box as it was
    }
    lblFile01->setText(card.text(SongCard::File01));
    lblFile02->setText(card.text(SongCard::File02));
    lblFile03->setText(card.text(SongCard::File03));
    lblDesc01->setText(card.text(SongCard::Desc01));
    lblDesc02->setText(card.text(SongCard::Desc02));
    lblDesc03->setText(card.text(SongCard::Desc03));
    lblPosizione->setText(QString::number(position));
    showFieldsFromStart();
}

// --- handlers ----------------------------------------------------------------------------

bool FrmCollection::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtSito && event->type() == QEvent::FocusOut) {
        // Leaving the field, not the window losing the focus to a message or another program.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            guarded([this] { txtSitoExit(); });
    }
    return CardEditor::eventFilter(watched, event);
}

void FrmCollection::clearCard()
{
    for (QLineEdit *field : {txtTitolo, txtCantante, txtAlbum, txtGenere, txtAutori, txtNazione, txtAnno,
                             txtPremi, txtCasa, txtDurata})
        field->clear();
    setMemo(txtTesto, QString());
    setMemo(txtStoria, QString());
    txtSito->setText(kNewAddress);
    txtMusica->clear();
    txtNote->clear();
    for (QLabel *label : attachmentLabels())
        label->clear();
    chkSegnala->setChecked(false);
    lblPosizione->clear();
    txtTitolo->setFocus();
}

void FrmCollection::completeAddress()
{
    // Case-exact on purpose: "HTTP://..." gets the prefix too.
    if (txtSito->text().left(4) != QLatin1String("http"))
        txtSito->setText(kNewAddress + ctrim(txtSito->text()));
}

void FrmCollection::txtSitoExit()
{
    completeAddress();
}

void FrmCollection::btnSitoClick()
{
    if (ctrim(txtSito->text()).isEmpty()) {
        desktop().warning(QString::fromUtf8(kNoAddress));
        txtSito->setText(kNewAddress);
        txtSito->setFocus();
        return;
    }
    completeAddress();
    const QString address = ctrim(txtSito->text());
    // Only a web page reaches the desktop: "http:evil" or "https://" alone would be handed
    // to whatever the shell associates with them.
    if (!isWebAddress(address)) {
        desktop().warning(QString::fromUtf8(kBadAddress));
        txtSito->setFocus();
        return;
    }
    desktop().open(address);
}

void FrmCollection::cmdGuidaClick()
{
    FrmGuida::showTopic(this, QString::fromUtf8(kCollectionHelpTitle),
                        collectionHelpText());
}

void FrmCollection::cmdAnteprimaClick()
{
    FrmAnteprimaCanzone window(this, cardShown(), lblNome->text());
    desktop().runModal(&window);
}

void FrmCollection::cmdStampaClick()
{
    FrmStampaCanzone window(this, cardShown(), lblNome->text());
    desktop().runModal(&window);
}

void FrmCollection::cmdFileClick()
{
    FrmAllegaCartella window(this, QStringLiteral("collection"));
    window.setAttachments(attachments());
    desktop().runModal(&window);
}

void FrmCollection::cmdStatisticheClick()
{
    const qint64 picked = FrmStatistiche::run(this, {StatsSource::Kind::Songs, archivePath(), {}});
    if (picked > 0)
        showStoredCard(picked);
}

void FrmCollection::cmdImportaBraniClick()
{
    FrmImportaBrani window(this, archivePath());
    desktop().runModal(&window);
    // An untouched new card gives way to the first card imported, so the user sees the result;
    // a card being typed or a stored card stays as it is.
    const bool untouched = stateOf(lblPosizione).isEmpty() && ctrim(txtTitolo->text()).isEmpty() &&
                           ctrim(txtCantante->text()).isEmpty();
    if (window.added() == 0 || !untouched)
        return;
    try {
        openCard(window.firstAdded());
    } catch (const FileError &) {
        // The cards are stored; only showing the first one failed, and the next move shows them.
    }
}

void FrmCollection::cmdEsportaClick()
{
    FrmExpCollection window(this, archivePath());
    desktop().runModal(&window);
}
