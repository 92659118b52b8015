#include "songbook/FrmCanzoniere.h"

#include "app/Desktop.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "core/Text.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace
{
constexpr QSize kClient(470, 404);
}

const QString FrmCanzoniere::kNoSongs =
    QStringLiteral("Attenzione: nessuna canzone corrisponde alla scelta: il canzoniere sarebbe vuoto.");

FrmCanzoniere::FrmCanzoniere(QWidget *owner, const QString &collectionPath, const QString &title,
                             const QList<qint64> &positions)
    : FixedDialog(owner, QStringLiteral("frmCanzoniere"), QStringLiteral(" Canzoniere"), kClient, Look::kSteelBlue,
                  Qt::white, kClient)
    , m_path(collectionPath)
    , m_title(ctrim(title).isEmpty() ? songbook::collectionName(collectionPath) : ctrim(title))
    , m_positions(positions)
{
    setCentreOnOwner(true);
    QWidget *p = panel();
    shape(p, QStringLiteral("shpSfondo"), QRect(18, 18, kClient.width() - 36, 330), Qt::white, Qt::white);
    QLabel *heading = caption(p, QStringLiteral("lblTitolo"), QStringLiteral("Canzoniere"), QPoint(32, 28),
                              QStringLiteral("Verdana"), 14, true);
    heading->setStyleSheet(QStringLiteral("color: %1").arg(Look::kInk.name()));
    lblCollection = caption(p, QStringLiteral("lblCollection"), QString(), QPoint(32, 58));
    lblCollection->setTextFormat(Qt::PlainText);
    lblCollection->setText(QStringLiteral("Collection: ") + m_title);
    lblCollection->setFixedWidth(kClient.width() - 64);
    shape(p, QStringLiteral("shpSepara"), QRect(26, 84, kClient.width() - 52, 4), Look::kWorkTop, Look::kWorkTop);

    auto section = [&](const QString &name, const QString &text, int y) {
        caption(p, name, text, QPoint(32, y), QStringLiteral("Verdana"), 9, true);
    };
    auto radio = [&](const QString &name, const QString &text, int x, int y) {
        auto *r = new QRadioButton(text, p);
        r->setObjectName(name);
        r->setFont(Look::font(QStringLiteral("Verdana"), 9));
        r->move(x, y);
        r->adjustSize();
        return r;
    };
    section(QStringLiteral("lblSchede"), QStringLiteral("Canzoni"), 98);
    optTutte = radio(QStringLiteral("optTutte"), QStringLiteral("Tutta la collection"), 44, 120);
    optSegnalate = radio(QStringLiteral("optSegnalate"), QStringLiteral("Solo le canzoni segnalate"), 44, 142);
    optScelte = radio(QStringLiteral("optScelte"),
                      m_positions.size() == 1 ? QStringLiteral("La canzone scelta")
                                              : QStringLiteral("Le %1 canzoni scelte").arg(m_positions.size()),
                      44, 164);
    auto *cards = new QButtonGroup(this);
    for (QRadioButton *r : {optTutte, optSegnalate, optScelte})
        cards->addButton(r);
    optScelte->setEnabled(!m_positions.isEmpty());
    (m_positions.isEmpty() ? optTutte : optScelte)->setChecked(true);

    section(QStringLiteral("lblOrdine"), QStringLiteral("Ordine"), 194);
    cmbOrdine = new QComboBox(p);
    cmbOrdine->setObjectName(QStringLiteral("cmbOrdine"));
    cmbOrdine->setFont(Look::font(QStringLiteral("Verdana"), 9));
    cmbOrdine->addItems({QStringLiteral("Come in archivio"), QStringLiteral("Per titolo"), QStringLiteral("Per cantante")});
    cmbOrdine->setGeometry(44, 214, 200, 24);
    nameAfter(cmbOrdine, QStringLiteral("Ordine"));

    section(QStringLiteral("lblImpaginazione"), QStringLiteral("Impaginazione"), 248);
    optTesto = radio(QStringLiteral("optTesto"), QStringLiteral("Solo il testo"), 44, 270);
    optAffiancati = radio(QStringLiteral("optAffiancati"), QStringLiteral("Testo e traduzione affiancati, riga per riga"),
                          44, 292);
    auto *layout = new QButtonGroup(this);
    layout->addButton(optTesto);
    layout->addButton(optAffiancati);
    optTesto->setChecked(true);

    const QFont buttons = Look::font(QStringLiteral("Verdana"));
    const int w = (kClient.width() - 36 - 3 * 8) / 4;
    btnAnnulla = pushButton(p, QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), QRect(18, 362, w, 28), buttons);
    btnAnteprima = pushButton(p, QStringLiteral("btnAnteprima"), QStringLiteral("Anteprima"),
                              QRect(18 + (w + 8), 362, w, 28), buttons);
    btnStampa = pushButton(p, QStringLiteral("btnStampa"), QStringLiteral("Stampa"), QRect(18 + 2 * (w + 8), 362, w, 28),
                           buttons);
    btnPdf = pushButton(p, QStringLiteral("btnPdf"), QStringLiteral("Salva PDF"), QRect(18 + 3 * (w + 8), 362, w, 28),
                        buttons);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    closeOnEscape(btnAnnulla);
    connect(btnAnteprima, &QPushButton::clicked, this, [this] { guarded([this] { btnAnteprimaClick(); }); });
    connect(btnStampa, &QPushButton::clicked, this, [this] { guarded([this] { btnStampaClick(); }); });
    connect(btnPdf, &QPushButton::clicked, this, [this] { guarded([this] { btnPdfClick(); }); });
}

songbook::Options FrmCanzoniere::options() const
{
    songbook::Options o;
    if (optSegnalate->isChecked())
        o.selection.kind = songbook::Selection::Kind::Flagged;
    else if (optScelte->isChecked()) {
        o.selection.kind = songbook::Selection::Kind::Positions;
        o.selection.positions = m_positions;
    }
    o.order = cmbOrdine->currentIndex() == 1   ? songbook::Order::Title
              : cmbOrdine->currentIndex() == 2 ? songbook::Order::Singer
                                               : songbook::Order::Stored;
    o.layout = optAffiancati->isChecked() ? songbook::Layout::SideBySide : songbook::Layout::Lyrics;
    return o;
}

bool FrmCanzoniere::build(songbook::Book &book)
{
    const songbook::Options o = options();
    try {
        QList<songbook::Song> songs = songbook::readSongs(m_path, o.selection);
        if (songs.isEmpty()) {
            desktop().warning(kNoSongs);
            return false;
        }
        songbook::sortSongs(songs, o.order);
        book = songbook::layOut(m_title, QDate::currentDate(), songs, o);
        return true;
    } catch (const songbook::SongbookError &e) {
        desktop().warning(e.message());
        return false;
    }
}

void FrmCanzoniere::btnAnteprimaClick()
{
    songbook::Book book;
    if (build(book))
        desktop().previewReport(this, book.report);
}

void FrmCanzoniere::btnStampaClick()
{
    songbook::Book book;
    if (build(book))
        desktop().printReport(this, book.report);
}

QString FrmCanzoniere::proposedPdfName() const
{
    QString name = QStringLiteral("Canzoniere %1 %2.pdf").arg(m_title, QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    return QFileInfo(m_path).absoluteDir().filePath(name);
}

void FrmCanzoniere::btnPdfClick()
{
    songbook::Book book;
    if (!build(book))
        return;
    const QString path = desktop().saveFileName(this, QStringLiteral("Salva il canzoniere"), proposedPdfName(),
                                                {{QStringLiteral("Documento PDF"), {QStringLiteral("*.pdf")}}},
                                                QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    try {
        songbook::writePdf(book, path, QStringLiteral("Canzoniere - ") + m_title);
    } catch (const songbook::SongbookError &e) {
        desktop().warning(e.message());
        return;
    }
    if (desktop().confirm(QStringLiteral("Il canzoniere è stato salvato in\n%1\n\nSi vuole aprire il file?")
                              .arg(QDir::toNativeSeparators(path))))
        desktop().open(QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"'));
}
