#include "output/ExportWindow.h"

#include "app/Artwork.h"
#include "app/Desktop.h"
#include "app/Preferences.h"
#include "app/Fields.h"
#include "app/FrmGuida.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "core/ProgramFolder.h"
#include "core/RecordFile.h"
#include "core/RecordSchema.h"
#include "core/Text.h"
#include "output/SpreadsheetWriter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QShowEvent>
#include <QTableView>

const QString ExportWindow::kReady = QStringLiteral("Esportazione archivio in Microsoft Excel.");
const QString ExportWindow::kFormatCaption = QStringLiteral("Formato del file:");
const QString ExportWindow::kAllColumns = QStringLiteral("Tutte le colonne");

namespace
{
constexpr int kRowHeight = 21;

using SpreadsheetWriter::Format;

// The formats offered, in the order of the list; the first is the default.
struct FormatChoice {
    Format format;
    QString item;      // the list's entry
    QString saveTitle; // the save dialog's title (the default format has none)
    FileFilter filter;
    QString program;   // " in Excel" where the messages name the program that opens the file
};

const QList<FormatChoice> &formatChoices()
{
    static const QList<FormatChoice> choices{
        {Format::Xls, QStringLiteral("Microsoft Excel (.xls)"), QString(), {}, QStringLiteral(" in Excel")},
        {Format::Xlsx,
         QStringLiteral("Cartella di lavoro di Excel (.xlsx)"),
         QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Excel."),
         {QStringLiteral("Cartella di lavoro di Excel"), {QStringLiteral("*.xlsx")}},
         QStringLiteral(" in Excel")},
        {Format::Csv,
         QStringLiteral("Testo separato da punto e virgola (.csv)"),
         QStringLiteral("Selezionare la cartella in cui si desidera salvare il file CSV."),
         {QStringLiteral("Testo separato da punto e virgola"), {QStringLiteral("*.csv")}},
         QString()},
    };
    return choices;
}

const FormatChoice &choiceOf(Format format)
{
    for (const FormatChoice &choice : formatChoices())
        if (choice.format == format)
            return choice;
    return formatChoices().first();
}

// The messages name the file by its full path and the program only where it opens the format.
QString shown(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString fileOf(Format format)
{
    return choiceOf(format).program.isEmpty() ? QStringLiteral("il file") : QStringLiteral("il file di Excel");
}

QString askExport(Format format)
{
    return QStringLiteral("L'esportazione dei dati") + choiceOf(format).program +
           QStringLiteral(" può richiedere diversi minuti a seconda del numero di schede presenti in "
                          "archivio.\r\n\r\nSi vuole esportare i dati adesso?");
}

QString askOpen(Format format, const QString &path)
{
    return QStringLiteral("Le schede in archivio sono state esportate con successo nel file\r\n") + shown(path) +
           QStringLiteral("\r\n\r\nSi vuole aprire ") + fileOf(format) + QLatin1Char('?');
}

QString exportFailed(Format format, const QString &path)
{
    return QStringLiteral("Attenzione: il sistema non permette di esportare i dati nel file\n\r") + shown(path) +
           QStringLiteral("\n\r\n\rAccertarsi che ") + fileOf(format) + QStringLiteral(" non sia già aperto.");
}

QString quoted(const QString &path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}
} // namespace

ExportWindow::ExportWindow(QWidget *owner, const ExportKind &kind, const QString &archivePath)
    : FixedDialog(owner, kind.windowName, kind.title, QSize(862, 560), Look::kExportGrey, Look::kExportGrey,
                  QSize(837, 533))
    , m_kind(kind)
    , m_archivePath(ctrim(archivePath))
    , m_model(new ExportTableModel(kind.columns, this))
{
    QWidget *p = panel();
    shpSfondo =
        shape(p, QStringLiteral("shpSfondo"), QRect(8, 8, 821, 65), Qt::white, Look::kSheetBorder);
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

    lblFormato = new QLabel(kFormatCaption, p);
    lblFormato->setObjectName(QStringLiteral("lblFormato"));
    lblFormato->setGeometry(8, 80, 120, 26);
    cboFormato = new QComboBox(p);
    cboFormato->setObjectName(QStringLiteral("cboFormato"));
    cboFormato->setGeometry(128, 80, 300, 26);
    for (const FormatChoice &choice : formatChoices())
        cboFormato->addItem(choice.item, int(choice.format));
    nameAfter(cboFormato, kFormatCaption, lblFormato);
    chkTutte = new QCheckBox(kAllColumns, p);
    chkTutte->setObjectName(QStringLiteral("chkTutte"));
    chkTutte->setGeometry(444, 80, 220, 26);

    grdRecords = new QTableView(p);
    grdRecords->setObjectName(QStringLiteral("grdRecords"));
    grdRecords->setGeometry(8, 112, 821, 377);
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

    shpInfo = shape(p, QStringLiteral("shpInfo"), QRect(8, 493, 821, 32), Look::kSlateBlue, QColor());
    panInfo = new QLabel(kReady, p);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setGeometry(14, 497, 809, 24);
    panInfo->setFont(Look::font(QStringLiteral("Tahoma"), 12));
    panInfo->setStyleSheet(QStringLiteral("color: white;"));

    auto *hints = new Fields::HintLine(panInfo);
    for (QWidget *w : {static_cast<QWidget *>(this), p, static_cast<QWidget *>(grdRecords),
                       grdRecords->viewport(), shpSfondo, shpInfo, static_cast<QWidget *>(lblFormato)})
        hints->background(w);
    hints->command(cboFormato, QStringLiteral("Sceglie il formato del file da esportare."));
    hints->command(chkTutte, QStringLiteral("Esporta ogni campo della scheda, non solo le colonne del file XLS."));
    hints->command(cmdEsporta, QStringLiteral("Esporta l'archivio in formato Microsoft Excel."));
    hints->command(cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    hints->command(cmdEsci, QStringLiteral("Esci da questo ambiente di lavoro."));

    connect(cmdEsporta, &ClickPicture::clicked, this, [this] { guarded([this] { cmdEsportaClick(); }); });
    connect(cmdGuida, &ClickPicture::clicked, this, [this] { guarded([this] { cmdGuidaClick(); }); });
    connect(cmdEsci, &ClickPicture::clicked, this, [this] { guarded([this] { cmdEsciClick(); }); });
    closeOnEscape(cmdEsci);
    connect(cboFormato, &QComboBox::currentIndexChanged, this, [this] { showColumns(); });
    connect(chkTutte, &QCheckBox::toggled, this, [this] { showColumns(); });
    showColumns();
}

void ExportWindow::showColumns()
{
    // The .xls keeps its columns: every field goes only to the other formats.
    chkTutte->setEnabled(format() != Format::Xls);
    const bool all = allColumns();
    for (int c = 0; c < m_kind.columns.size(); ++c)
        grdRecords->setColumnHidden(c, m_kind.columns.at(c).fullOnly && !all);
}

bool ExportWindow::allColumns() const
{
    return format() != Format::Xls && chkTutte->isChecked();
}

Format ExportWindow::format() const
{
    return Format(cboFormato->currentData().toInt());
}

QString ExportWindow::exportPath() const
{
    if (format() == Format::Xls)
        return ProgramFolder::file(m_kind.fileName);
    return ProgramFolder::file(proposedName(m_kind.name, QDate::currentDate(), format()));
}

QString ExportWindow::proposedName(const QString &name, QDate date, Format format)
{
    return name + QLatin1Char(' ') + date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('.') +
           SpreadsheetWriter::suffix(format);
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
    const Format format = this->format();
    if (!desktop().confirm(askExport(format)))
        return;
    QString path = exportPath();
    if (format != Format::Xls) {
        // The dialog adds the suffix to a name typed without it before it asks about replacing
        // a file, so its question is about the file that is written.
        const FormatChoice &choice = choiceOf(format);
        path = desktop().saveFileName(this, choice.saveTitle,
                                      Preferences::startFolder(QStringLiteral("esporta")) + QLatin1Char('/') +
                                          QFileInfo(path).fileName(),
                                      {choice.filter}, SpreadsheetWriter::suffix(format));
        if (path.isEmpty())
            return;
        // A name typed with another suffix could land on the archive itself, another collection
        // or the password store: an existing file of another type is never replaced.
        const QFileInfo chosen(path);
        if (chosen.exists()
            && chosen.suffix().compare(SpreadsheetWriter::suffix(format), Qt::CaseInsensitive) != 0) {
            desktop().plain(exportFailed(format, path));
            return;
        }
    }
    // The model's columns the file holds, position aside.
    QList<int> exported;
    QList<SpreadsheetWriter::Column> columns;
    const bool all = allColumns();
    for (int c = 1; c < m_kind.columns.size(); ++c) {
        const ExportColumn &column = m_kind.columns.at(c);
        if (column.fullOnly && !all)
            continue;
        exported << c;
        columns.append({QString::fromUtf8(column.gridHeader), column.sheetWidth});
    }
    const int rows = m_model->rowCount();
    const auto cellBytes = [this, &exported](int row, int column) {
        return m_model->cellBytes(row, exported.at(column));
    };
    try {
        switch (format) {
        case Format::Xls:
            SpreadsheetWriter::save(path, SpreadsheetWriter::document(
                                              m_kind.sheetName, columns, rows, [this, &exported](int row, int column) {
                                                  return m_model->cell(row, exported.at(column));
                                              }));
            break;
        case Format::Xlsx:
            SpreadsheetWriter::saveXlsx(path, m_kind.sheetName, columns, rows, cellBytes);
            break;
        case Format::Csv:
            SpreadsheetWriter::save(path, SpreadsheetWriter::csvDocument(columns, rows, cellBytes));
            break;
        }
    } catch (const FileError &) {
        desktop().plain(exportFailed(format, path));
        return;
    }
    if (format != Format::Xls)
        Preferences::rememberFolder(QStringLiteral("esporta"), path);
    switch (desktop().choose(askOpen(format, path),
                             {QStringLiteral("Sì"), QStringLiteral("Apri la cartella"), QStringLiteral("No")})) {
    case 0:
        desktop().open(quoted(path));
        break;
    case 1:
        desktop().open(quoted(QFileInfo(path).absolutePath()));
        break;
    default:
        break;
    }
}

void ExportWindow::cmdGuidaClick()
{
    FrmGuida::showTopic(this, m_kind.helpTitle, FrmGuida::joinParagraphs(m_kind.helpParagraphs));
}

void ExportWindow::cmdEsciClick()
{
    close();
}
