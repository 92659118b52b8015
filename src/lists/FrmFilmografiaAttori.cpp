#include "lists/FrmFilmografiaAttori.h"

#include "app/ArchiveMessages.h"
#include "app/ArchiveSave.h"
#include "app/Artwork.h"
#include "app/Desktop.h"
#include "app/Fields.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "core/RecordFile.h"
#include "core/Text.h"
#include "lists/ListEntries.h"
#include "lists/ResultList.h"
#include "records/DiscographySong.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>

namespace
{
const QString kNoModify = QStringLiteral("Modifica non applicabile: la lista non contiene nessuna voce.");
const QString kSelectFirst =
    QStringLiteral("Attenzione: selezionare una voce dall'elenco prima di premere il pulsante di modifica.");

// What Salva says when a field is empty, and the member that keeps its control, in record
// order; name, caption, place and Enter order are the rows of DiscographySong::fields().
struct EntryField {
    QLineEdit *FrmFilmografiaAttori::*member;
    const char *missing;
};
const EntryField kEntries[] = {
    {&FrmFilmografiaAttori::txtAnno,
     "Attenzione: per salvare la scheda è necessario indicare l'anno di produzione della canzone."},
    {&FrmFilmografiaAttori::txtTitolo,
     "Attenzione: per salvare la scheda è necessario indicare il titolo della canzone."},
    {&FrmFilmografiaAttori::txtGenere,
     "Attenzione: per salvare la scheda è necessario indicare il genere musicale della canzone."},
    {&FrmFilmografiaAttori::txtAutori,
     "Attenzione: per salvare la scheda è necessario indicare gli autori della canzone."},
    {&FrmFilmografiaAttori::txtDurata,
     "Attenzione: per salvare la scheda è necessario indicare la durata della canzone."},
};
static_assert(std::size(kEntries) == DiscographySong::FieldCount, "one entry per discography field");

// A bar's text that does not fit keeps its beginning and is cut with an ellipsis at the right;
// centred, a long stage name would lose both ends of the heading.
class ElidingBar : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        const QRect area = contentsRect();
        const QFontMetrics metrics(font());
        if (metrics.horizontalAdvance(text()) <= area.width()) {
            QLabel::paintEvent(event);
            return;
        }
        QPainter painter(this);
        style()->drawItemText(&painter, area, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                              metrics.elidedText(text(), Qt::ElideRight, area.width()), foregroundRole());
    }
};

QLabel *bar(QWidget *parent, const QString &name, const QString &text, const QRect &geometry, qreal points,
            bool bold, Qt::Alignment alignment)
{
    auto *l = new ElidingBar(text, parent);
    l->setTextFormat(Qt::PlainText);
    l->setObjectName(name);
    l->setGeometry(geometry);
    l->setFont(Look::uiFont(points, bold));
    l->setAlignment(alignment | Qt::AlignVCenter);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(p);
    l->setContentsMargins(8, 0, 8, 0);
    return l;
}
} // namespace

FrmFilmografiaAttori::FrmFilmografiaAttori(QWidget *owner, qint64 singer, const QString &name)
    : ListWindow(owner, QStringLiteral("frmFilmografiaAttori"),
                 QStringLiteral(" Gestione discografia cantante"), QSize(863, 616),
                 Look::kWorkTop, Qt::white, QSize(833, 585))
    , m_singer(singer)
    , m_name(ctrim(name))
{
    panContainer = panel();
    buildListPanel();
    buildEntryPanel();
    panCosti->hide();
    // A double-click does nothing here: a song is edited through Modifica canzone.
    connectList(DoubleClick::Ignored);
    connect(btnAggiungi, &QPushButton::clicked, this, [this] { guarded([this] { btnAggiungiClick(); }); });
    connect(btnModifica, &QPushButton::clicked, this, [this] { guarded([this] { btnModificaClick(); }); });
    connect(btnSalva, &QPushButton::clicked, this, [this] { guarded([this] { btnSalvaClick(); }); });
    // Chiudi on the song form goes back to the list, with the songs saved meanwhile; a changed
    // song is asked about first.
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        guarded([this] {
            if (mayLeaveSong())
                showListPanel();
        });
    });
}

void FrmFilmografiaAttori::showListPanel()
{
    panCosti->hide();
    panContainer->show();
    FormShow();
}

void FrmFilmografiaAttori::buildListPanel()
{
    using namespace ListLook;
    QWidget *p = panContainer;
    lblTitolo = bar(p, QStringLiteral("lblTitolo"), QStringLiteral("Discografia di "), QRect(0, 0, 833, 44),
                    18, false, Qt::AlignHCenter);
    new Artwork(p, QStringLiteral("imgLente"), QStringLiteral(":/lists/lente.svg"), QRect(8, 56, 48, 48));
    lblRigo01 =
        label(p, QStringLiteral("lblRigo01"),
              QStringLiteral("Immettere una o più parole consecutive presenti nella scheda in elenco da "
                             "cercare e premere il pulsante Trova."),
              QPoint(66, 56));
    txtTrova = findField(p, QRect(66, 76, 600, 28));
    btnTrova = button(p, QStringLiteral("btnTrova"), QStringLiteral("Trova"), QRect(684, 75, 140, 30));
    lstRecords = new ResultList(p);
    lstRecords->setGeometry(8, 116, 817, 330);
    nameAfter(lstRecords, QStringLiteral("Elenco dei brani"));
    lblRigo03 =
        label(p, QStringLiteral("lblRigo03"),
              QStringLiteral("Per modificare una voce in elenco, selezionarla con un clic e premere il "
                             "pulsante Modifica canzone."),
              QPoint(8, 454), 9, false, Look::kCrimson);
    titValoreTotale = bar(p, QStringLiteral("titValoreTotale"), QStringLiteral("TOTALE CANZONI:"),
                          QRect(545, 478, 170, 28), 10, false, Qt::AlignLeft);
    lblTotale = bar(p, QStringLiteral("lblTotale"), QStringLiteral("0"), QRect(715, 478, 110, 28), 10, true,
                    Qt::AlignRight);
    new Artwork(p, QStringLiteral("icoMano01"), QStringLiteral(":/lists/mano.svg"), QRect(8, 530, 42, 28));
    btnAggiungi =
        button(p, QStringLiteral("btnAggiungi"), QStringLiteral("Aggiungi canzone"), QRect(54, 526, 170, 34));
    new Artwork(p, QStringLiteral("icoMano02"), QStringLiteral(":/lists/mano.svg"), QRect(236, 530, 42, 28));
    btnModifica = button(p, QStringLiteral("btnModifica"), QStringLiteral("Modifica canzone"),
                         QRect(282, 526, 170, 34));
    btnStampa = button(p, QStringLiteral("btnStampa"), QStringLiteral("Stampa discografia"),
                       QRect(500, 526, 170, 34));
    btnChiudi = button(p, QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), QRect(684, 526, 140, 34));
}

void FrmFilmografiaAttori::buildEntryPanel()
{
    using namespace ListLook;
    panCosti = new QWidget(this);
    panCosti->setObjectName(QStringLiteral("panCosti"));
    panCosti->setGeometry(panContainer->geometry());
    QWidget *p = panCosti;
    new Artwork(p, QStringLiteral("imgTitolo"), QStringLiteral(":/lists/banner.svg"), QRect(0, 0, 833, 60));
    new Artwork(p, QStringLiteral("imgGestioneCosti"), QStringLiteral(":/lists/cliente.svg"),
                QRect(24, 130, 96, 96));
    new Artwork(p, QStringLiteral("imgIcona"), QStringLiteral(":/lists/spiega.svg"), QRect(24, 250, 96, 96));
    titIstruzioni = bar(p, QStringLiteral("titIstruzioni"),
                        QStringLiteral("Immettere i dati nei campi sottostanti e premere Salva."),
                        QRect(0, 76, 833, 32), 11, false, Qt::AlignLeft);
    QList<QWidget *> chain;
    for (const FieldInfo &f : DiscographySong::fields()) {
        auto *caption = new QLabel(QString::fromUtf8(f.caption), p);
        caption->setFont(Look::uiFont(12));
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caption->setGeometry(f.place.x - 170, f.place.y, 160, 26);
        auto *field = new QLineEdit(p);
        field->setObjectName(QString::fromLatin1(f.control));
        field->setFont(Look::uiFont(12, true));
        field->setGeometry(f.place.x, f.place.y, f.place.width, 26);
        nameAfter(field, caption->text(), caption);
        // Typing stops at what the record field holds.
        field->setMaxLength(DiscographySong::schema().field(f.field).capacity());
        Fields::backgroundHighlight(field);
        this->*kEntries[f.field].member = field;
        chain << field;
    }
    // Enter walks the five fields round; it never saves.
    Fields::enterChain(chain);
    btnSalva = button(p, QStringLiteral("btnSalva"), QStringLiteral("Salva"), QRect(534, 526, 140, 34));
    cmdClose = button(p, QStringLiteral("cmdClose"), QStringLiteral("Chiudi"), QRect(684, 526, 140, 34));
    lblPosizione = stateLabel(p, QStringLiteral("lblPosizione"));
    lblFile = stateLabel(p, QStringLiteral("lblFile"));
}

QString FrmFilmografiaAttori::reportTitle() const
{
    return QStringLiteral("Discografia di ") + m_name;
}

QStringList FrmFilmografiaAttori::closingLines() const
{
    return {QStringLiteral("--------------------------"),
            QStringLiteral("TOTALE CANZONI:      ") + ctrim(lblTotale->text())};
}

void FrmFilmografiaAttori::showEvent(QShowEvent *event)
{
    ListWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void FrmFilmografiaAttori::FormShow()
{
    resetFind();
    lblTotale->setText(QStringLiteral("0"));
    lblTitolo->setText(QStringLiteral("Discografia di ") + m_name);
    lblFile->setText(Discography::path(m_singer));
    Lists::Entries entries;
    try {
        Lists::scanFile(
            stateOf(lblFile), Lists::discographyLine(),
            [](const char *record) {
                const RecordSchema::Field &f = DiscographySong::schema().field(DiscographySong::Titolo);
                return !RecordSchema::load(record + f.offset, f).isEmpty();
            },
            entries);
    } catch (const FileError &) {
        // The list keeps the songs read before the failure; nothing is reported.
    }
    // Songs stay in the order they were added.
    lblTotale->setText(QString::number(entries.size()));
    lstRecords->setEntries(std::move(entries));
    txtTrova->setFocus();
}

QStringList FrmFilmografiaAttori::entryTexts() const
{
    QStringList texts;
    for (const EntryField &e : kEntries)
        texts << ctrim((this->*e.member)->text());
    return texts;
}

bool FrmFilmografiaAttori::songChanged() const
{
    return panCosti->isVisibleTo(this) && entryTexts() != m_loadedSong;
}

bool FrmFilmografiaAttori::mayLeaveSong()
{
    if (!songChanged())
        return true;
    switch (desktop().askSave(ArchiveMessages::kSaveChanges)) {
    case Desktop::SaveChoice::Save:
        return saveSong();
    case Desktop::SaveChoice::DontSave:
        return true;
    case Desktop::SaveChoice::Cancel:
        break;
    }
    return false;
}

void FrmFilmografiaAttori::closeList()
{
    if (mayLeaveSong())
        ListWindow::closeList();
}

void FrmFilmografiaAttori::closeEvent(QCloseEvent *event)
{
    if (!mayLeaveSong()) {
        event->ignore();
        return;
    }
    // Asked once: the window now closes as it is.
    m_loadedSong = entryTexts();
    ListWindow::closeEvent(event);
}

void FrmFilmografiaAttori::showEntryPanel()
{
    m_loadedSong = entryTexts();
    panCosti->show();
    panContainer->hide();
    txtAnno->setFocus();
}

void FrmFilmografiaAttori::btnAggiungiClick()
{
    for (const EntryField &e : kEntries)
        (this->*e.member)->clear();
    lblPosizione->clear();
    showEntryPanel();
}

void FrmFilmografiaAttori::btnModificaClick()
{
    if (lstRecords->count() == 0) {
        desktop().information(kNoModify);
        return;
    }
    const int row = lstRecords->currentRow();
    if (row < 0) {
        desktop().warning(kSelectFirst);
        return;
    }
    // The line keeps its song's position: exactly that song is edited, as stored now.
    DiscographySong song;
    const qint64 position = lstRecords->position(row);
    try {
        song = DiscographySong::decode(Lists::readRecord(stateOf(lblFile), DiscographySong::kSize, position));
    } catch (const FileError &) {
        closeList();
        return;
    }
    for (const FieldInfo &f : DiscographySong::fields())
        (this->*kEntries[f.field].member)->setText(ctrim(song.text(f.field)));
    lblPosizione->setText(QString::number(position));
    showEntryPanel();
}

void FrmFilmografiaAttori::btnSalvaClick()
{
    saveSong();
}

bool FrmFilmografiaAttori::saveSong()
{
    DiscographySong song;
    for (const FieldInfo &f : DiscographySong::fields()) {
        QLineEdit *field = this->*kEntries[f.field].member;
        const QString text = ctrim(field->text());
        if (text.isEmpty()) {
            desktop().warning(QString::fromUtf8(kEntries[f.field].missing));
            field->setFocus();
            return false;
        }
        song.setText(f.field, text);
    }
    ArchiveSave::Stored stored{};
    try {
        stored = ArchiveSave::store(stateOf(lblFile), DiscographySong::kSize, stateOf(lblPosizione), song.encode());
    } catch (const FileError &) {
        desktop().warning(ArchiveMessages::kNoAccess);
        return false;
    }
    lblPosizione->setText(QString::number(stored.position));
    m_loadedSong = entryTexts();
    desktop().information(ArchiveSave::confirmation(stored.inserted));
    return true;
}
