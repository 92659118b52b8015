#include "collections/FrmCollection.h"

#include "app/ArchiveMessages.h"
#include "app/Desktop.h"
#include "backup/Backups.h"
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
#include "songbook/FrmCanzoniere.h"
#include "stats/FrmStatistiche.h"
#include "table/FrmElenco.h"
#include "table/TableCompanion.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
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

const QString kDeleteNotStored = QStringLiteral("Attenzione: l'eliminazione di una scheda può avvenire soltanto "
                                                "dopo che questa è stata inserita in archivio.");
const QString kDeleteHint = QStringLiteral("Elimina la scheda dall'archivio.");
const QString kUndoHint = QStringLiteral("Rimette in archivio la scheda eliminata, nella sua posizione.");
const QString kUndoWords = QStringLiteral("Annulla eliminazione");

// What a field of the record holds: its width less the terminating zero.
int capacityOf(int field)
{
    return SongCard::schema().field(field).capacity();
}

QString captionOf(const FieldInfo &f)
{
    return f.caption ? QString::fromUtf8(f.caption) : QString();
}

// What the editor shows a field in, as its control's prefix and its codec say.
enum class Control { Line, Memo, Check, Session };
Control controlOf(const FieldInfo &f)
{
    if (qstrncmp(f.control, "chk", 3) == 0)
        return Control::Check;
    if (qstrncmp(f.control, "lbl", 3) == 0)
        return Control::Session;
    return SongCard::schema().field(f.field).codec == RecordSchema::Codec::ZeroMemo ? Control::Memo
                                                                                   : Control::Line;
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

// A memo whose paste or drop would be cut at the capacity asks first; on No the memo keeps
// what it held.
class Memo : public QPlainTextEdit
{
public:
    Memo(QWidget *parent, int limit)
        : QPlainTextEdit(parent)
        , m_limit(limit)
    {
    }

protected:
    void insertFromMimeData(const QMimeData *source) override
    {
        if (source && source->hasText()) {
            QString pasted = source->text();
            pasted.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            pasted.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            const qsizetype kept = FrmCollection::storedLength(FrmCollection::memoText(this)) -
                                   FrmCollection::storedLength(textCursor().selectedText().replace(
                                       QChar::ParagraphSeparator, QLatin1Char('\n')));
            const qsizetype room = qMax<qsizetype>(0, m_limit - kept);
            const qsizetype wanted = FrmCollection::storedLength(pasted);
            if (wanted > room && !desktop().confirmIrreversible(FrmCollection::pasteCutQuestion(room, wanted)))
                return;
        }
        QPlainTextEdit::insertFromMimeData(source);
    }

private:
    int m_limit;
};

QPlainTextEdit *memo(QWidget *parent, const FieldInfo &f)
{
    auto *m = new Memo(parent, capacityOf(f.field));
    m->setObjectName(QLatin1String(f.control));
    m->setGeometry(f.place.x, f.place.y, f.place.width, 144);
    m->setFont(Look::uiFont(12, true));
    m->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m->setTabChangesFocus(true);
    new MemoLimit(m, capacityOf(f.field));
    return m;
}

// The room a memo has left, on its caption's line at the right: shown from nine tenths of the
// capacity on, in crimson once it is full, so the user sees the end coming before typing stops.
void memoRoom(QWidget *parent, QPlainTextEdit *m, const QString &name, int limit)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setFont(Look::font(QStringLiteral("Verdana"), Look::kDefaultPoints));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(m->x() + m->width() / 2, m->y() - 20, m->width() - m->width() / 2, 18);
    const auto update = [m, label, limit] {
        const qsizetype used = FrmCollection::storedLength(FrmCollection::memoText(m));
        label->setText(FrmCollection::roomText(used, limit));
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, used >= limit ? Look::kCrimson : Look::kInk);
        label->setPalette(palette);
    };
    QObject::connect(m->document(), &QTextDocument::contentsChanged, label, update);
    update();
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
    lblNome->setFont(Look::uiFont(14));
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
    // Built with the tool bar, they lie on the card sheet and the title band drawn after it.
    for (ClickPicture *command : {cmdElimina, cmdElenco, cmdCanzoniere})
        command->raise();
    // The empty card the window is made with is the card compared against until one is shown.
    takeAsLoaded();

    m_table = new TableCompanion(this, ArchiveKind::Songs);
    m_table->onSongbook([this](const QList<qint64> &positions) { guarded([&] { openSongbook(positions); }); });
    growWithWindow();
    // Past the designed size the lyrics and the translation share the extra width and take
    // the extra height; what lies under them moves down with the information bar.
    for (const char *name : {"shpContainer", "shpSfondo", "bkgSfondo", "bkgSfondoGrigio"})
        grow(p->findChild<QWidget *>(QLatin1String(name)), kFill);
    for (QWidget *w : {p->findChild<QWidget *>(QStringLiteral("bkgTitolo")), static_cast<QWidget *>(lblNome)})
        grow(w, kWider);
    const int below = 522; // the bottom of the grey band that holds the two memos
    QWidget *txtTesto = m_controls.at(SongCard::Testo), *txtStoria = m_controls.at(SongCard::Storia);
    QWidget *lblStoria = p->findChild<QWidget *>(QStringLiteral("lblStoria"));
    for (QWidget *w : p->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (w->y() >= below && w != panInfo && w->objectName() != QLatin1String("shpInfo"))
            grow(w, kDown);
    grow(p->findChild<QWidget *>(QStringLiteral("shpInfo")), kWiderDown);
    grow(panInfo, kWiderDown);
    grow(txtTesto, {0, 0, 0.5, 1});
    grow(txtStoria, {0.5, 0, 1, 1});
    grow(lblStoria, {0.5, 0, 0.5, 0});
    // The room left in each memo stays beside its caption's end.
    grow(p->findChild<QWidget *>(QStringLiteral("lblSpazioTesto")), {0.25, 0, 0.5, 0});
    grow(p->findChild<QWidget *>(QStringLiteral("lblSpazioStoria")), {0.75, 0, 1, 0});
}

void FrmCollection::showTable()
{
    m_table->show(archivePath());
}

FrmElenco *FrmCollection::table() const
{
    return m_table->window();
}

void FrmCollection::openSongbook(const QList<qint64> &positions)
{
    FrmCanzoniere window(this, archivePath(), collectionName(), positions);
    desktop().runModal(&window);
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
            // A card command, in the corner of the card sheet, away from Salva.
            {&cmdElimina, "cmdElimina", "elimina", {944, 131, 24, 24}, [this] { cmdEliminaClick(); }, kDeleteHint},
            // On the information bar, shown after a delete.
            {&cmdAnnullaElimina,
             "cmdAnnullaElimina",
             "annulla_elimina",
             {798, 645, 172, 26},
             [this] { cmdAnnullaEliminaClick(); },
             kUndoHint},
            {&cmdElenco, "cmdElenco", "elenco", {30, 90, 26, 26}, [this] { showTable(); }},
            {&cmdCanzoniere, "cmdCanzoniere", "canzoniere", {62, 90, 26, 26}, [this] { openSongbook({}); },
             QStringLiteral("Prepara un canzoniere delle schede della collection: anteprima, stampa o PDF.")},
        });
    wordsOn(cmdAnnullaElimina, kUndoWords, Look::font(QStringLiteral("Verdana"), 9, true), Look::kInk,
            Qt::AlignCenter, QMargins(24, 0, 4, 0));
    cmdAnnullaElimina->hide();

    const QFont buttonFont = Look::uiFont(10, true);
    wordsOn(cmdFile, QStringLiteral("Allega file"), buttonFont, Look::kInk, Qt::AlignCenter,
            QMargins(30, 0, 4, 0));
    wordsOn(cmdStampa, QStringLiteral("Stampa"), buttonFont, Look::kInk, Qt::AlignCenter,
            QMargins(30, 0, 4, 0));

    placePosition(QRect(595, 34, 42, 24), true);
}

void FrmCollection::buildFields(QWidget *p)
{
    QList<const FieldInfo *> placed;
    for (const FieldInfo &f : SongCard::fields())
        if (f.place.order > 0)
            placed << &f;
    std::sort(placed.begin(), placed.end(),
              [](const FieldInfo *a, const FieldInfo *b) { return a->place.order < b->place.order; });

    QList<QWidget *> tabOrder;
    for (const FieldInfo *f : placed) {
        const QString name = QLatin1String(f->control + 3);
        QWidget *control = nullptr;
        switch (controlOf(*f)) {
        case Control::Line:
            control = cardField(name, f->place.x, f->place.y, f->place.width, capacityOf(f->field), captionOf(*f));
            break;
        case Control::Memo: {
            QLabel *caption = fieldCaption(name, captionOf(*f), f->place.x, f->place.y);
            control = memo(p, *f);
            nameAfter(control, caption->text(), caption);
            memoRoom(p, static_cast<QPlainTextEdit *>(control), QStringLiteral("lblSpazio") + name,
                     capacityOf(f->field));
            break;
        }
        case Control::Check: {
            auto *box = new QCheckBox(captionOf(*f), p);
            box->setObjectName(QLatin1String(f->control));
            box->setFont(Look::uiFont(Look::kDefaultPoints, true));
            box->setCursor(Qt::PointingHandCursor);
            box->move(f->place.x, f->place.y);
            box->adjustSize();
            control = box;
            break;
        }
        case Control::Session:
            continue;
        }
        m_controls.at(size_t(f->field)) = control;
        tabOrder << control;
    }
    chainTabOrder(tabOrder);

    // Enter walks each run of one-line fields to the next field that takes text, the last one
    // round to the first field; a memo keeps Enter for its own lines.
    const auto takesText = [](QWidget *w) { return qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w); };
    QList<QWidget *> run;
    for (int i = 0; i <= tabOrder.size(); ++i) {
        QWidget *w = i < tabOrder.size() ? tabOrder.at(i) : nullptr;
        if (w && qobject_cast<QLineEdit *>(w)) {
            run << w;
            continue;
        }
        if (run.isEmpty())
            continue;
        QWidget *next = nullptr;
        for (int j = i; j < tabOrder.size() && !next; ++j)
            if (takesText(tabOrder.at(j)))
                next = tabOrder.at(j);
        Fields::enterChain(run, next ? next : tabOrder.first());
        run.clear();
    }
}

QLineEdit *FrmCollection::lineOf(int field) const
{
    return qobject_cast<QLineEdit *>(m_controls.at(size_t(field)));
}

void FrmCollection::buildCard(QWidget *p)
{
    icoCD = CollectionArt::picture(p, QStringLiteral("icoCD"), QStringLiteral(":/collections/cd.svg"),
                                   QRect(36, 142, 175, 174));
    shape(p, QStringLiteral("bkgSfondoGrigio"), QRect(36, 336, 922, 186), Look::kGreyBandTop,
          Look::kGreyBandBottom);
    shape(p, QStringLiteral("bkgSegnala"), QRect(808, 580, 150, 38), Look::kOrange,
          Look::kPaleOrange, Qt::white);
    shape(p, QStringLiteral("sfoSegnala"), QRect(814, 584, 30, 30), Qt::white, Look::kPaleOrange);
    icoSegnala =
        CollectionArt::picture(p, QStringLiteral("icoSegnala"), QStringLiteral(":/collections/bandiera.svg"),
                               QRect(816, 586, 26, 26));

    buildFields(p);

    QLineEdit *txtCantante = lineOf(SongCard::Cantante);
    impCantante = new ClickPicture(p, QStringLiteral("impCantante"), QStringLiteral(":/collections/importa.svg"),
                                   QRect(txtCantante->x() + txtCantante->width() + 6, txtCantante->y(), 22, 22));
    hints()->command(impCantante, QStringLiteral("Importa il nome d'arte dall'archivio dei cantanti."));
    connect(impCantante, &ClickPicture::clicked, this,
            [this] { guarded([this] { ListCommands::importSinger(this, [this](qint64 at) { importSinger(at); }); }); });

    QLineEdit *txtSito = lineOf(SongCard::Sito);
    txtSito->setText(kNewAddress);
    btnSito = new ClickPicture(p, QStringLiteral("btnSito"), QStringLiteral(":/collections/sito.svg"),
                               QRect(txtSito->x() + txtSito->width() + 6, txtSito->y(), 22, 22));
    hints()->command(btnSito, QStringLiteral("Visita il sito Web della canzone."));
    connect(btnSito, &ClickPicture::clicked, this, [this] { guarded([this] { btnSitoClick(); }); });

    hints()->command(m_controls.at(SongCard::Segnala),
                     QStringLiteral("Inserisci la scheda nell'elenco delle canzoni segnalate."));

    // Installed after the highlight, so the address is completed before the field repaints.
    txtSito->installEventFilter(this);
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

QString FrmCollection::roomText(qsizetype used, int capacity)
{
    if (used * 10 < qsizetype(capacity) * 9)
        return QString();
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    return QStringLiteral("%1 di %2 caratteri").arg(italian.toString(qint64(used)), italian.toString(capacity));
}

QString FrmCollection::pasteCutQuestion(qsizetype room, qsizetype pasted)
{
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    return QStringLiteral("Attenzione: il testo da incollare è di %1 caratteri, ma nel campo ne restano "
                          "soltanto %2: la parte che non entra andrebbe perduta.\r\n\r\nIncollare "
                          "comunque il testo tagliato?")
        .arg(italian.toString(qint64(pasted)), italian.toString(qint64(room)));
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
    forgetDeleted();
    if (ctrim(path) != session().archive)
        m_table->close(); // a view of the collection left behind would pick cards of another
    setArchive(path, Session::Opener::CollectionList);
    lblFile->setText(session().archive);
    lblNome->setText(name);
}

void FrmCollection::importSinger(qint64 position)
{
    RecordFile archive(SingerArchive::path(), SingerCard::kSize);
    const SingerCard card = SingerCard::decode(archive.read(position));
    archive.close();
    lineOf(SongCard::Cantante)->setText(ctrim(card.text(SingerCard::Nome)));
}

QString FrmCollection::collectionName() const
{
    return lblNome->text();
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
    return {{lineOf(SongCard::Titolo), kNoTitle}, {lineOf(SongCard::Cantante), kNoSinger}};
}

Desktop::Kind FrmCollection::saveFailureKind() const
{
    return Desktop::Kind::Plain;
}

QWidget *FrmCollection::firstField() const
{
    return lineOf(SongCard::Titolo);
}

QString FrmCollection::shownText(const FieldInfo &f) const
{
    QWidget *control = m_controls.at(size_t(f.field));
    switch (controlOf(f)) {
    case Control::Line:
        return static_cast<QLineEdit *>(control)->text();
    case Control::Memo:
        return memoText(static_cast<QPlainTextEdit *>(control));
    case Control::Check:
        return SongCard::flagText(static_cast<QCheckBox *>(control)->isChecked());
    case Control::Session:
        break;
    }
    return attachmentText(f.field - SongCard::File01);
}

void FrmCollection::showText(const FieldInfo &f, const QString &text)
{
    QWidget *control = m_controls.at(size_t(f.field));
    switch (controlOf(f)) {
    case Control::Line:
        static_cast<QLineEdit *>(control)->setText(text);
        break;
    case Control::Memo:
        setMemo(static_cast<QPlainTextEdit *>(control), text);
        break;
    case Control::Check: {
        SongCard card;
        card.setText(f.field, text);
        // A flag field written elsewhere leaves the box as it was.
        if (card.flag() != SongCard::Flag::Neither)
            static_cast<QCheckBox *>(control)->setChecked(card.flag() == SongCard::Flag::Flagged);
        break;
    }
    case Control::Session:
        setAttachmentText(f.field - SongCard::File01, text);
        break;
    }
}

SongCard FrmCollection::cardShown() const
{
    SongCard card;
    for (const FieldInfo &f : SongCard::fields())
        card.setText(f.field, shownText(f));
    return card;
}

void FrmCollection::showCard(const SongCard &card, qint64 position)
{
    for (const FieldInfo &f : SongCard::fields())
        showText(f, card.text(f.field));
    setPosition(position);
    showFieldsFromStart();
}

// --- handlers ----------------------------------------------------------------------------

bool FrmCollection::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_controls.at(SongCard::Sito) && event->type() == QEvent::FocusOut) {
        // Leaving the field, not the window losing the focus to a message or another program.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            guarded([this] { txtSitoExit(); });
    }
    return CardEditor::eventFilter(watched, event);
}

void FrmCollection::clearCard()
{
    for (const FieldInfo &f : SongCard::fields())
        if (controlOf(f) != Control::Session)
            showText(f, f.field == SongCard::Sito ? kNewAddress : QString());
    showText(SongCard::fields()[SongCard::Segnala], SongCard::flagText(false));
    lineOf(SongCard::Titolo)->setFocus();
}

void FrmCollection::completeAddress()
{
    QLineEdit *txtSito = lineOf(SongCard::Sito);
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
    QLineEdit *txtSito = lineOf(SongCard::Sito);
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

void FrmCollection::forgetDeleted()
{
    m_deleted.reset();
    cmdAnnullaElimina->hide();
}

void FrmCollection::cmdEliminaClick()
{
    const qint64 position = session().position;
    if (position == 0) {
        desktop().warning(kDeleteNotStored);
        return;
    }
    const QString path = archivePath();
    SongCard stored;
    qint64 count = 0;
    try {
        RecordFile archive(path, SongCard::kSize);
        count = archive.count();
        stored = SongCard::decode(archive.read(position));
        archive.close();
    } catch (const FileError &) {
        desktop().error(ArchiveMessages::kNoAccess);
        return;
    }
    // The card is named as it is stored, which is what goes.
    QString question = QStringLiteral("Eliminare dall'archivio la scheda %1 di %2, \u00AB%3\u00BB di %4?\r\n\r\n"
                                      "Le schede successive salgono di una posizione. Prima dell'eliminazione "
                                      "una copia della collection viene messa tra le copie di sicurezza; "
                                      "la scheda si può rimettere al suo posto con Annulla eliminazione (Ctrl+Z).")
                           .arg(position)
                           .arg(count)
                           .arg(ctrim(stored.text(SongCard::Titolo)), ctrim(stored.text(SongCard::Cantante)));
    if (cardChanged())
        question += QStringLiteral("\r\n\r\nLe modifiche non salvate della scheda andranno perdute.");
    if (!desktop().confirmIrreversible(question))
        return;

    const QFileInfo file(path);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Backups::Outcome backup =
        Backups::beforeRisk(file.absolutePath(),
                            QStringLiteral("Prima dell'eliminazione di una scheda da ") + file.fileName(),
                            {file.fileName()});
    QApplication::restoreOverrideCursor();
    if (!backup.ok) {
        // Without its copy the card stays where it is.
        desktop().error(backup.error);
        return;
    }

    Deleted deleted{path, position, {}};
    try {
        RecordFile archive(path, SongCard::kSize);
        // What is put back is exactly what was taken out, even if another copy of the program
        // changed the card since the question.
        deleted.record = archive.read(position);
        archive.remove(position);
        count = archive.count();
        archive.close();
    } catch (const FileError &) {
        desktop().error(ArchiveMessages::kNoAccess);
        return;
    }
    m_deleted = deleted;
    cmdAnnullaElimina->show();
    try {
        // The card that moved into the place, or the one before it when the last went.
        showAfterArchiveChange(qMin(position, count));
    } catch (const FileError &) {
        newCard();
    }
    panInfo->setText(QStringLiteral("Scheda eliminata: \u00AB%1\u00BB.").arg(ctrim(stored.text(SongCard::Titolo))));
}

void FrmCollection::cmdAnnullaEliminaClick()
{
    if (!m_deleted || m_deleted->archive != archivePath())
        return;
    if (!mayLeaveCard(Leave::OpenStored))
        return;
    qint64 at = 0;
    try {
        RecordFile archive(m_deleted->archive, SongCard::kSize);
        // Another copy of the program may have shortened the file meanwhile.
        at = qMin(m_deleted->position, archive.count() + 1);
        archive.insert(at, m_deleted->record);
        archive.close();
    } catch (const FileError &) {
        desktop().error(ArchiveMessages::kNoAccess);
        return;
    }
    forgetDeleted();
    try {
        showAfterArchiveChange(at);
    } catch (const FileError &) {
        desktop().error(ArchiveMessages::kNoAccess);
        return;
    }
    panInfo->setText(QStringLiteral("Scheda rimessa in archivio nella posizione %1.").arg(at));
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
    // A new card gives way to the first card imported, so the user sees the result (a card
    // being typed is asked about first); a stored card stays as it is.
    if (window.added() == 0 || session().position != 0)
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
