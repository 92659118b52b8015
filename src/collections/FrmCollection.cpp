#include "collections/FrmCollection.h"

#include "app/AppFormats.h"
#include "app/Desktop.h"
#include "app/Fields.h"
#include "app/FrmGuida.h"
#include "app/Widgets.h"
#include "collections/CollectionArt.h"
#include "collections/CollectionHelp.h"
#include "collections/SongCard.h"
#include "core/RecordFile.h"
#include "core/Text.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

namespace
{

const char *const kNoCards = "L'archivio non contiene nessuna scheda.";
const char *const kNoAccess = "Attenzione: il sistema non permette di accedere "
                              "all'archivio.\n\r\n\rAccertarsi di possedere i privilegi di "
                              "scrittura nella cartella di installazione del programma.";
const char *const kNoTitle =
    "Attenzione: per salvare la scheda è necessario indicare il titolo della canzone.";
const char *const kNoSinger = "Attenzione: per salvare la scheda è necessario indicare il nome del cantante.";
const char *const kChanged = "Le modifiche apportate alla scheda corrente sono state salvate in archivio.";
const char *const kInserted = "La scheda corrente è stata inserita in archivio.";
const char *const kNotStored = "Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che "
                               "questa è stata inserita in archivio.";
const char *const kDuplicated = "E' ora possibile apportare le proprie modifiche alla scheda "
                                "corrente.\n\r\n\rAl termine premere Salva per "
                                "inserire la scheda in archivio.";
const char *const kNoAddress = "Attenzione: per collegarsi al sito è necessario indicare il suo Indirizzo.";
const char *const kBadAddress = "Attenzione: l'indirizzo indicato non è un indirizzo Web "
                                "valido.\n\r\n\rIndicare un indirizzo che inizi con "
                                "http:// oppure https:// seguito dal nome del sito.";

const QString kNewAddress = QStringLiteral("https://");
constexpr int kMemoLimit = 5000;

// A position label that is not a number stops the command like a file failure.
qint64 positionOf(const QString &text)
{
    bool ok = false;
    const qint64 p = text.toLongLong(&ok);
    if (!ok)
        throw FileError(QStringLiteral("Posizione non valida: %1").arg(text));
    return p;
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

QLineEdit *editField(QWidget *parent, const QString &name, int x, int y, int width, int maxLength)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(x, y, width, 22);
    field->setFont(CollectionArt::font(QStringLiteral("Verdana"), 12, true));
    field->setMaxLength(maxLength);
    return field;
}

QPlainTextEdit *memo(QWidget *parent, const QString &name, int x, int y)
{
    auto *m = new QPlainTextEdit(parent);
    m->setObjectName(name);
    m->setGeometry(x, y, 440, 144);
    m->setFont(CollectionArt::font(QStringLiteral("Verdana"), 12, true));
    m->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m->setTabChangesFocus(true);
    new MemoLimit(m, kMemoLimit);
    return m;
}

// The caption of a field, 18 units above it.
void fieldLabel(QWidget *parent, const QString &text, int x, int fieldTop)
{
    auto *label = new QLabel(text, parent);
    label->setFont(CollectionArt::font(QStringLiteral("Verdana"), 12));
    label->move(x, fieldTop - 18);
    label->adjustSize();
}

void setMemo(QPlainTextEdit *m, const QString &text)
{
    // A card loaded from the file is shown as it is, not cut to the typing limit.
    const QSignalBlocker block(m);
    m->setPlainText(text);
}

} // namespace

FrmCollection::FrmCollection()
    : WorkWindow(QStringLiteral("frmCollection"), QStringLiteral(" Cantorium - Collection Musicale"),
                 CollectionArt::kWindowTop)
{
    AppFormats::apply();
    QWidget *p = panel();
    const QColor white = Qt::white;

    shape(p, QStringLiteral("shpContainer"), QRect(8, 8, 978, 675), CollectionArt::kWindowTop, white, white);
    const struct {
        const char *name;
        int x, width;
    } boxes[] = {{"shpPulsanti01", 16, 172},  {"shpPulsanti02", 193, 162}, {"shpAnteprima", 361, 202},
                 {"shpPulsanti03", 570, 212}, {"shpPulsanti04", 787, 92},  {"shpPulsanti05", 884, 94}};
    QList<QWidget *> background{this, p, p->findChild<QWidget *>(QStringLiteral("shpContainer"))};
    for (const auto &b : boxes)
        background << shape(p, QString::fromLatin1(b.name), QRect(b.x, 16, b.width, 57), white,
                            QColor(0xBF, 0xD6, 0xE8));
    background << shape(p, QStringLiteral("shpSfondo"), QRect(16, 80, 962, 556), QColor::fromRgba(0xFFC8D6E3),
                        QColor());
    background << shape(p, QStringLiteral("shpInfo"), QRect(16, 642, 962, 32), QColor::fromRgba(0xFF3030DD),
                        QColor());

    panInfo = new QLabel(QStringLiteral("Pronto per archiviare una nuova scheda..."), p);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setGeometry(22, 642, 950, 32);
    panInfo->setFont(CollectionArt::font(QStringLiteral("Tahoma"), 12));
    panInfo->setTextFormat(Qt::PlainText);
    QPalette ip = panInfo->palette();
    ip.setColor(QPalette::WindowText, white);
    panInfo->setPalette(ip);
    auto *hints = new Fields::HintLine(panInfo);

    buildToolBar(p, hints);

    background << shape(p, QStringLiteral("bkgTitolo"), QRect(24, 88, 946, 30), QColor::fromRgba(0xFF3030DD),
                        QColor());
    lblNome = new QLabel(QStringLiteral("Nome collection musicale"), p);
    lblNome->setObjectName(QStringLiteral("lblNome"));
    lblNome->setGeometry(32, 91, 930, 24);
    lblNome->setAlignment(Qt::AlignCenter);
    lblNome->setTextFormat(Qt::PlainText);
    lblNome->setFont(CollectionArt::font(QStringLiteral("Verdana"), 14));
    QPalette np = lblNome->palette();
    np.setColor(QPalette::WindowText, Qt::yellow);
    lblNome->setPalette(np);
    background << shape(p, QStringLiteral("bkgSfondo"), QRect(24, 128, 946, 500), white, QColor());

    buildCard(p, hints);
    background << p->findChild<QWidget *>(QStringLiteral("bkgSfondoGrigio"))
               << p->findChild<QWidget *>(QStringLiteral("bkgSegnala"))
               << p->findChild<QWidget *>(QStringLiteral("sfoSegnala"));
    for (QWidget *element : background)
        hints->background(element);

    lblFile = stateLabel(p, QStringLiteral("lblFile"));
    lblFile01 = stateLabel(p, QStringLiteral("lblFile01"));
    lblFile02 = stateLabel(p, QStringLiteral("lblFile02"));
    lblFile03 = stateLabel(p, QStringLiteral("lblFile03"));
    lblDesc01 = stateLabel(p, QStringLiteral("lblDesc01"));
    lblDesc02 = stateLabel(p, QStringLiteral("lblDesc02"));
    lblDesc03 = stateLabel(p, QStringLiteral("lblDesc03"));
}

void FrmCollection::buildToolBar(QWidget *p, Fields::HintLine *hints)
{
    auto command = [&](ClickPicture *&control, const char *name, const char *resource, const QRect &at,
                       const char *hint) {
        control = new ClickPicture(p, QString::fromLatin1(name),
                                   QStringLiteral(":/collections/") + QString::fromLatin1(resource), at);
        hints->command(control, QString::fromUtf8(hint));
    };
    const QSize icon(37, 39);
    command(cmdNuovo, "cmdNuovo", "nuovo.svg", QRect(QPoint(24, 26), icon),
            "Prepara la schermata per l'inserimento di una nuova scheda.");
    command(cmdDuplica, "cmdDuplica", "duplica.svg", QRect(QPoint(64, 26), icon),
            "Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti.");
    command(cmdSalva, "cmdSalva", "salva.svg", QRect(QPoint(104, 26), icon), "Salva la scheda in archivio.");
    command(cmdTrova, "cmdTrova", "trova.svg", QRect(QPoint(144, 26), icon), "Trova una scheda in archivio.");
    command(cmdFile, "cmdFile", "allega.svg", QRect(200, 28, 148, 32), "Allega file alla scheda.");
    command(cmdAnteprima, "cmdAnteprima", "anteprima.svg", QRect(QPoint(368, 26), icon),
            "Visualizza l'anteprima di stampa della scheda.");
    command(cmdStampa, "cmdStampa", "stampa.svg", QRect(408, 28, 148, 32), "Stampa la scheda.");
    command(cmdPrimo, "cmdPrimo", "primo.svg", QRect(QPoint(578, 26), icon),
            "Visualizza la prima scheda in archivio.");
    command(cmdIndietro, "cmdIndietro", "indietro.svg", QRect(QPoint(620, 26), icon),
            "Visualizza la scheda precedente in archivio.");
    command(cmdAvanti, "cmdAvanti", "avanti.svg", QRect(QPoint(698, 26), icon),
            "Visualizza la scheda successiva in archivio.");
    command(cmdUltimo, "cmdUltimo", "ultimo.svg", QRect(QPoint(740, 26), icon),
            "Visualizza l'ultima scheda in archivio.");
    command(cmdEsporta, "cmdEsporta", "esporta.svg", QRect(QPoint(795, 26), icon),
            "Esporta le schede in archivio in un file di Microsoft Excel.");
    command(cmdSegnala, "cmdSegnala", "segnala.svg", QRect(QPoint(835, 26), icon),
            "Visualizza l'elenco delle canzoni segnalate.");
    command(cmdGuida, "cmdGuida", "guida.svg", QRect(QPoint(892, 26), icon),
            "Visualizza la pagina della guida sensibile al contesto.");
    command(cmdEsci, "cmdEsci", "esci.svg", QRect(QPoint(934, 26), icon),
            "Esci da questa schermata di lavoro.");

    const QFont buttonFont = CollectionArt::font(QStringLiteral("Verdana"), 13, true);
    CollectionArt::wordsOn(cmdFile, QStringLiteral("Allega file"), buttonFont, QColor(0x1F, 0x4E, 0x79),
                           Qt::AlignCenter, QMargins(30, 0, 4, 0));
    CollectionArt::wordsOn(cmdStampa, QStringLiteral("Stampa"), buttonFont, QColor(0x1F, 0x4E, 0x79),
                           Qt::AlignCenter, QMargins(30, 0, 4, 0));

    // The position shown between the arrows; it is also the editor's state label.
    lblPosizione = stateLabel(p, QStringLiteral("lblPosizione"));
    lblPosizione->setGeometry(656, 34, 42, 24);
    lblPosizione->setAlignment(Qt::AlignCenter);
    lblPosizione->setFont(CollectionArt::font(QStringLiteral("Verdana"), 12, true));
    lblPosizione->show();

    const std::pair<ClickPicture *, void (FrmCollection::*)()> handlers[] = {
        {cmdNuovo, &FrmCollection::cmdNuovoClick},       {cmdDuplica, &FrmCollection::cmdDuplicaClick},
        {cmdSalva, &FrmCollection::cmdSalvaClick},       {cmdPrimo, &FrmCollection::cmdPrimoClick},
        {cmdIndietro, &FrmCollection::cmdIndietroClick}, {cmdAvanti, &FrmCollection::cmdAvantiClick},
        {cmdUltimo, &FrmCollection::cmdUltimoClick},     {cmdGuida, &FrmCollection::cmdGuidaClick},
        {cmdEsci, &FrmCollection::cmdEsciClick},
    };
    for (const auto &[control, handler] : handlers)
        connect(control, &ClickPicture::clicked, this,
                [this, h = handler] { guarded([this, h] { (this->*h)(); }); });
    // cmdTrova, cmdFile, cmdAnteprima, cmdStampa, cmdEsporta and cmdSegnala open windows that
    // are not part of the program yet: they show their hints and do nothing.
}

void FrmCollection::buildCard(QWidget *p, Fields::HintLine *hints)
{
    icoCD = CollectionArt::picture(p, QStringLiteral("icoCD"), QStringLiteral(":/collections/cd.svg"),
                                   QRect(36, 142, 175, 174));

    struct FieldPlace {
        QLineEdit *FrmCollection::*member;
        const char *name;
        const char *label;
        int x, y, width, maxLength;
    };
    const FieldPlace places[] = {
        {&FrmCollection::txtTitolo, "txtTitolo", "Titolo canzone:", 236, 156, 392, 120},
        {&FrmCollection::txtCantante, "txtCantante", "Cantante:", 668, 156, 262, 120},
        {&FrmCollection::txtAlbum, "txtAlbum", "Album:", 236, 204, 420, 120},
        {&FrmCollection::txtGenere, "txtGenere", "Genere musicale:", 668, 204, 290, 50},
        {&FrmCollection::txtAutori, "txtAutori", "Autori:", 236, 252, 420, 250},
        {&FrmCollection::txtNazione, "txtNazione", "Nazione:", 668, 252, 180, 50},
        {&FrmCollection::txtAnno, "txtAnno", "Anno:", 860, 252, 98, 30},
        {&FrmCollection::txtPremi, "txtPremi", "Premi e riconoscimenti:", 236, 300, 420, 250},
        {&FrmCollection::txtCasa, "txtCasa", "Casa discografica:", 668, 300, 180, 50},
        {&FrmCollection::txtDurata, "txtDurata", "Durata:", 860, 300, 98, 30},
    };
    for (const FieldPlace &s : places) {
        fieldLabel(p, QString::fromUtf8(s.label), s.x, s.y);
        this->*s.member = editField(p, QString::fromLatin1(s.name), s.x, s.y, s.width, s.maxLength);
    }
    impCantante = new ClickPicture(p, QStringLiteral("impCantante"),
                                   QStringLiteral(":/collections/importa.svg"), QRect(936, 156, 22, 22));
    hints->command(impCantante, QStringLiteral("Importa il nome d'arte dall'archivio dei cantanti."));
    // impCantante opens the singer search, which is not part of the program yet.

    shape(p, QStringLiteral("bkgSfondoGrigio"), QRect(36, 336, 922, 186), QColor::fromRgba(0xFFF0EFEE),
          QColor::fromRgba(0xFFE9E5E5));
    fieldLabel(p, QStringLiteral("Testo canzone:"), 50, 365);
    txtTesto = memo(p, QStringLiteral("txtTesto"), 50, 365);
    fieldLabel(p, QStringLiteral("Traduzione:"), 504, 365);
    txtStoria = memo(p, QStringLiteral("txtStoria"), 504, 365);

    fieldLabel(p, QStringLiteral("Sito Web:"), 36, 548);
    txtSito = editField(p, QStringLiteral("txtSito"), 36, 548, 426, 250);
    txtSito->setText(kNewAddress);
    btnSito = new ClickPicture(p, QStringLiteral("btnSito"), QStringLiteral(":/collections/sito.svg"),
                               QRect(468, 548, 22, 22));
    hints->command(btnSito, QStringLiteral("Visita il sito Web della canzone."));
    connect(btnSito, &ClickPicture::clicked, this, [this] { guarded([this] { btnSitoClick(); }); });
    fieldLabel(p, QStringLiteral("Musica:"), 504, 548);
    txtMusica = editField(p, QStringLiteral("txtMusica"), 504, 548, 454, 250);

    fieldLabel(p, QStringLiteral("Note:"), 36, 596);
    txtNote = editField(p, QStringLiteral("txtNote"), 36, 596, 758, 250);

    shape(p, QStringLiteral("bkgSegnala"), QRect(808, 580, 150, 38), QColor(0xFF, 0xA5, 0x00),
          QColor::fromRgba(0xFFFBECD0), Qt::white);
    shape(p, QStringLiteral("sfoSegnala"), QRect(814, 584, 30, 30), Qt::white, QColor::fromRgba(0xFFFBECD0));
    icoSegnala =
        CollectionArt::picture(p, QStringLiteral("icoSegnala"), QStringLiteral(":/collections/bandiera.svg"),
                               QRect(816, 586, 26, 26));
    chkSegnala = new QCheckBox(QStringLiteral("Segnala"), p);
    chkSegnala->setObjectName(QStringLiteral("chkSegnala"));
    chkSegnala->setFont(CollectionArt::font(QStringLiteral("Verdana"), 12, true));
    chkSegnala->setCursor(Qt::PointingHandCursor);
    chkSegnala->move(856, 588);
    chkSegnala->adjustSize();
    hints->command(chkSegnala, QStringLiteral("Inserisci la scheda nell'elenco delle canzoni segnalate."));

    const QList<QLineEdit *> oneLine{txtTitolo,  txtCantante, txtAlbum, txtGenere, txtAutori,
                                     txtNazione, txtAnno,     txtPremi, txtCasa,   txtDurata,
                                     txtSito,    txtMusica,   txtNote};
    for (QLineEdit *field : oneLine)
        Fields::backgroundHighlight(field);
    // Installed after the highlight, so the address is completed before the field repaints.
    txtSito->installEventFilter(this);

    Fields::enterChain({txtTitolo, txtCantante, txtAlbum, txtGenere, txtAutori, txtNazione, txtAnno, txtPremi,
                        txtCasa, txtDurata},
                       txtTesto);
    Fields::enterChain({txtSito, txtMusica, txtNote}, txtTitolo);

    const QList<QWidget *> tabOrder{txtTitolo, txtCantante, txtAlbum, txtGenere, txtAutori, txtNazione,
                                    txtAnno,   txtPremi,    txtCasa,  txtDurata, txtTesto,  txtStoria,
                                    txtSito,   txtMusica,   txtNote,  chkSegnala};
    for (int i = 0; i + 1 < tabOrder.size(); ++i)
        setTabOrder(tabOrder.at(i), tabOrder.at(i + 1));
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

QString FrmCollection::collectionPath() const
{
    return stateOf(lblFile);
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
}

// --- handlers ----------------------------------------------------------------------------

void FrmCollection::showEvent(QShowEvent *event)
{
    WorkWindow::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void FrmCollection::FormShow()
{
    clearCard();
    // The window opened by a command takes the keyboard, even on a desktop without a window
    // manager to hand it over.
    activateWindow();
}

bool FrmCollection::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtSito && event->type() == QEvent::FocusOut) {
        // Leaving the field, not the window losing the focus to a message or another program.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            guarded([this] { txtSitoExit(); });
    }
    return WorkWindow::eventFilter(watched, event);
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
    for (QLabel *label : {lblFile01, lblFile02, lblFile03, lblDesc01, lblDesc02, lblDesc03})
        label->clear();
    chkSegnala->setChecked(false);
    lblPosizione->clear();
    txtTitolo->setFocus();
}

void FrmCollection::cmdNuovoClick()
{
    try {
        clearCard();
    } catch (...) {
        // a new card is shown as far as clearing got
    }
}

void FrmCollection::cmdPrimoClick()
{
    try {
        RecordFile file(collectionPath(), SongCard::kSize);
        if (file.count() == 0) {
            file.close();
            desktop().information(QString::fromUtf8(kNoCards));
            return;
        }
        const SongCard card = SongCard::decode(file.read(1));
        file.close();
        showCard(card, 1);
    } catch (const FileError &) {
        desktop().error(QString::fromUtf8(kNoAccess));
    }
}

void FrmCollection::cmdUltimoClick()
{
    try {
        RecordFile file(collectionPath(), SongCard::kSize);
        const qint64 count = file.count();
        if (count == 0) {
            file.close();
            desktop().information(QString::fromUtf8(kNoCards));
            return;
        }
        const SongCard card = SongCard::decode(file.read(count));
        file.close();
        showCard(card, count);
    } catch (const FileError &) {
        desktop().error(QString::fromUtf8(kNoAccess));
    }
}

void FrmCollection::cmdAvantiClick()
{
    try {
        RecordFile file(collectionPath(), SongCard::kSize);
        const QString shown = stateOf(lblPosizione);
        const qint64 current = shown.isEmpty() ? 0 : positionOf(shown);
        const qint64 count = file.count();
        if (count == 0) {
            lblPosizione->clear();
            file.close();
            desktop().information(QString::fromUtf8(kNoCards));
            return;
        }
        if (current >= count)
            return; // the last card is shown
        const SongCard card = SongCard::decode(file.read(current + 1));
        file.close();
        showCard(card, current + 1);
    } catch (const FileError &) {
        desktop().error(QString::fromUtf8(kNoAccess));
    }
}

void FrmCollection::cmdIndietroClick()
{
    try {
        RecordFile file(collectionPath(), SongCard::kSize);
        const QString shown = stateOf(lblPosizione);
        if (shown == QLatin1String("1"))
            return; // the first card is shown
        if (file.count() == 0) {
            file.close();
            desktop().information(QString::fromUtf8(kNoCards));
            return;
        }
        const qint64 wanted = shown.isEmpty() ? 1 : positionOf(shown) - 1;
        const SongCard card = SongCard::decode(file.read(wanted));
        file.close();
        showCard(card, wanted);
    } catch (const FileError &) {
        desktop().error(QString::fromUtf8(kNoAccess));
    }
}

void FrmCollection::cmdSalvaClick()
{
    if (ctrim(txtTitolo->text()).isEmpty()) {
        desktop().warning(QString::fromUtf8(kNoTitle));
        txtTitolo->setFocus();
        return;
    }
    if (ctrim(txtCantante->text()).isEmpty()) {
        desktop().warning(QString::fromUtf8(kNoSinger));
        txtCantante->setFocus();
        return;
    }
    try {
        const QString shown = stateOf(lblPosizione);
        const qint64 stored = shown.isEmpty() ? 0 : positionOf(shown);
        RecordFile file(collectionPath(), SongCard::kSize);
        const QByteArray record = cardShown().encode();
        if (!shown.isEmpty()) {
            file.write(stored, record);
            file.close();
            lblPosizione->setText(QString::number(stored));
            desktop().information(QString::fromUtf8(kChanged));
        } else {
            const qint64 added = file.append(record);
            file.close();
            lblPosizione->setText(QString::number(added));
            desktop().information(QString::fromUtf8(kInserted));
        }
    } catch (const FileError &) {
        desktop().plain(QString::fromUtf8(kNoAccess));
    }
}

void FrmCollection::cmdDuplicaClick()
{
    try {
        if (stateOf(lblPosizione).isEmpty()) {
            desktop().warning(QString::fromUtf8(kNotStored));
            return;
        }
        // The copy is a new card: its attachments stay with the card it came from.
        for (QLabel *label : {lblFile01, lblFile02, lblFile03, lblDesc01, lblDesc02, lblDesc03})
            label->clear();
        lblPosizione->clear();
        txtTitolo->setFocus();
        desktop().information(QString::fromUtf8(kDuplicated));
    } catch (const std::exception &) {
        desktop().error(QString::fromUtf8(kNoAccess));
    }
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
                        FrmGuida::joinParagraphs(collectionHelpParagraphs()));
}

void FrmCollection::cmdEsciClick()
{
    close();
}
