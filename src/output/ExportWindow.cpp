#include "output/ExportWindow.h"

#include "app/Artwork.h"
#include "app/Desktop.h"
#include "app/Fields.h"
#include "app/FrmGuida.h"
#include "app/Widgets.h"
#include "core/ProgramFolder.h"
#include "core/RecordFile.h"
#include "core/RecordSchema.h"
#include "core/Text.h"
#include "output/SpreadsheetWriter.h"

#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QShowEvent>
#include <QTableView>

const QString ExportWindow::kAskExport = QStringLiteral(
    "L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di schede "
    "presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
const QString ExportWindow::kAskOpen = QStringLiteral(
    "Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?");
const QString ExportWindow::kExportFailed =
    QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il file "
                   "di Excel non sia già aperto.");
const QString ExportWindow::kReady = QStringLiteral("Esportazione archivio in Microsoft Excel.");

namespace
{
const QColor kBackground = QColor::fromRgba(0xFFEEEDED);
const QColor kSlateBlue(0x6A, 0x5A, 0xCD);
constexpr int kRowHeight = 21;
} // namespace

ExportWindow::ExportWindow(QWidget *owner, const ExportKind &kind, const QString &archivePath)
    : FixedDialog(owner, kind.windowName, kind.title, QSize(862, 560), kBackground, kBackground,
                  QSize(837, 533))
    , m_kind(kind)
    , m_archivePath(ctrim(archivePath))
    , m_model(new ExportTableModel(kind.columns, this))
{
    QWidget *p = panel();
    shpSfondo =
        shape(p, QStringLiteral("shpSfondo"), QRect(8, 8, 821, 65), Qt::white, QColor(0xD0, 0xD0, 0xD0));
    imgLogo = new Artwork(p, QStringLiteral("imgLogo"), QStringLiteral(":/exports/banner.svg"),
                          QRect(13, 13, 505, 55));
    icoHand = new Artwork(p, QStringLiteral("icoHand"), QStringLiteral(":/exports/mano.svg"),
                          QRect(528, 32, 31, 25));
    cmdEsporta = new ClickPicture(p, QStringLiteral("cmdEsporta"), QStringLiteral(":/exports/esporta.svg"),
                                  QRect(566, 15, 49, 50));
    cmdGuida = new ClickPicture(p, QStringLiteral("cmdGuida"), QStringLiteral(":/exports/guida.svg"),
                                QRect(670, 13, 50, 55));
    cmdEsci = new ClickPicture(p, QStringLiteral("cmdEsci"), QStringLiteral(":/exports/esci.svg"),
                               QRect(766, 15, 40, 50));

    grdRecords = new QTableView(p);
    grdRecords->setObjectName(QStringLiteral("grdRecords"));
    grdRecords->setGeometry(8, 80, 821, 409);
    nameAfter(grdRecords, QStringLiteral("Schede in archivio"));
    grdRecords->setModel(m_model);
    grdRecords->setAlternatingRowColors(true);
    grdRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdRecords->setWordWrap(false);
    grdRecords->verticalHeader()->hide();
    // Fixed row heights and column widths: nothing is measured per cell, so a large archive
    // opens as fast as it is read.
    grdRecords->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdRecords->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grdRecords->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    for (int c = 0; c < kind.columns.size(); ++c)
        grdRecords->setColumnWidth(c, kind.columns.at(c).gridWidth);

    shpInfo = shape(p, QStringLiteral("shpInfo"), QRect(8, 493, 821, 32), kSlateBlue, QColor());
    panInfo = new QLabel(kReady, p);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setGeometry(14, 497, 809, 24);
    panInfo->setFont(QFont(QStringLiteral("Tahoma"), 12));
    panInfo->setStyleSheet(QStringLiteral("color: white;"));

    auto *hints = new Fields::HintLine(panInfo);
    for (QWidget *w : {static_cast<QWidget *>(this), p, static_cast<QWidget *>(grdRecords),
                       grdRecords->viewport(), shpSfondo, shpInfo})
        hints->background(w);
    hints->command(cmdEsporta, QStringLiteral("Esporta l'archivio in formato Microsoft Excel."));
    hints->command(cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    hints->command(cmdEsci, QStringLiteral("Esci da questo ambiente di lavoro."));

    connect(cmdEsporta, &ClickPicture::clicked, this, [this] { guarded([this] { cmdEsportaClick(); }); });
    connect(cmdGuida, &ClickPicture::clicked, this, [this] { guarded([this] { cmdGuidaClick(); }); });
    connect(cmdEsci, &ClickPicture::clicked, this, [this] { guarded([this] { cmdEsciClick(); }); });
    closeOnEscape(cmdEsci);
}

QString ExportWindow::exportPath() const
{
    return ProgramFolder::file(m_kind.fileName);
}

void ExportWindow::showEvent(QShowEvent *event)
{
    FixedDialog::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        guarded([this] { FormShow(); });
    }
}

void ExportWindow::FormShow()
{
    // A missing archive is created empty; a read failure keeps the rows read so far, silently.
    m_model->load(m_archivePath, m_kind.schema);
}

void ExportWindow::cmdEsportaClick()
{
    if (!desktop().confirm(kAskExport))
        return;
    const QString path = exportPath();
    QList<SpreadsheetWriter::Column> columns;
    for (int c = 1; c < m_kind.columns.size(); ++c) {
        const ExportColumn &column = m_kind.columns.at(c);
        columns.append({QString::fromUtf8(column.gridHeader), column.sheetWidth});
    }
    try {
        const QByteArray bytes = SpreadsheetWriter::document(
            m_kind.sheetName, columns, m_model->rowCount(),
            [this](int row, int column) { return m_model->cell(row, column + 1); });
        SpreadsheetWriter::save(path, bytes);
    } catch (const FileError &) {
        desktop().plain(kExportFailed);
        return;
    }
    if (desktop().confirm(kAskOpen))
        desktop().open(QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"'));
}

void ExportWindow::cmdGuidaClick()
{
    FrmGuida::showTopic(this, m_kind.helpTitle, FrmGuida::joinParagraphs(m_kind.helpParagraphs));
}

void ExportWindow::cmdEsciClick()
{
    close();
}
