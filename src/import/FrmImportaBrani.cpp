#include "import/FrmImportaBrani.h"

#include "app/Artwork.h"
#include "app/Desktop.h"
#include "app/Fields.h"
#include "app/FrmGuida.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "backup/BackupCommands.h"
#include "core/RecordFile.h"
#include "core/Text.h"
#include "import/FolderReader.h"
#include "import/ImportHelp.h"
#include "import/ImportModel.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>

const QString FrmImportaBrani::kReady = QStringLiteral("Importazione di brani da una cartella.");
const QString FrmImportaBrani::kNoFolder =
    QStringLiteral("Attenzione: per leggere i file è necessario indicare la cartella che li contiene.");
const QString FrmImportaBrani::kMissingFolder = QStringLiteral("Attenzione: la cartella indicata non esiste.");
const QString FrmImportaBrani::kNothingChecked =
    QStringLiteral("Attenzione: nessun brano è spuntato, quindi non c'è nessuna scheda da aggiungere.");
const QString FrmImportaBrani::kAppendFailed = QStringLiteral(
    "Attenzione: il sistema non permette di aggiungere le schede alla collection.\n\r\n\rNessuna scheda è "
    "stata aggiunta e la collection è rimasta com'era. Accertarsi di possedere i privilegi di scrittura "
    "nella cartella di installazione del programma e che il disco non sia pieno.");
const QString FrmImportaBrani::kAppendNotUndone = QStringLiteral(
    "Attenzione: il sistema non ha permesso di aggiungere le schede alla collection, né per ora di "
    "riportarla com'era.\n\r\n\rLe schede che c'erano prima sono intatte; le schede aggiunte solo in parte "
    "verranno tolte alla prossima apertura della collection.");
const QString FrmImportaBrani::kAppendPartialRecordLost = QStringLiteral(
    "Attenzione: il sistema non permette di aggiungere le schede alla collection.\n\r\n\rNessuna scheda è "
    "stata aggiunta e tutte le schede della collection sono intatte. Non è stato possibile rimettere al suo "
    "posto solo un frammento di %1 byte che si trovava in fondo alla collection, resto di una scheda "
    "incompleta. Accertarsi che il disco funzioni e non sia pieno.");
const QString FrmImportaBrani::kCollectionUnread =
    QStringLiteral("Attenzione: la collection non si può leggere, quindi le schede già presenti non sono "
                   "state riconosciute.");

namespace
{
const QColor kBackground = QColor::fromRgba(0xFFEEEDED);
constexpr int kRowHeight = 21;

QString number(qint64 n)
{
    return QLocale(QLocale::Italian, QLocale::Italy).toString(n);
}

QPushButton *button(QWidget *p, const char *name, const QString &text, const QRect &place)
{
    return pushButton(p, QLatin1String(name), text, place);
}

QLabel *label(QWidget *p, const char *name, const QString &text, const QRect &place)
{
    auto *l = new QLabel(text, p);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(place);
    l->setTextFormat(Qt::PlainText);
    return l;
}
} // namespace

QString FrmImportaBrani::addedText(qint64 count)
{
    if (count == 1)
        return QStringLiteral("È stata aggiunta 1 scheda alla collection.");
    return QStringLiteral("Sono state aggiunte %1 schede alla collection.").arg(number(count));
}

QString FrmImportaBrani::progressText(int done, int total)
{
    return QStringLiteral("letti %1 file su %2").arg(number(done), number(total));
}

FrmImportaBrani::FrmImportaBrani(QWidget *owner, const QString &collectionPath)
    : FixedDialog(owner, QStringLiteral("frmImportaBrani"), QStringLiteral(" Importa brani da una cartella"),
                  QSize(976, 664), kBackground, kBackground, QSize(956, 644))
    , m_collection(ctrim(collectionPath))
    , m_model(new ImportModel(this))
{
    QWidget *p = panel();
    shpSfondo =
        shape(p, QStringLiteral("shpSfondo"), QRect(8, 8, 940, 65), Qt::white, Look::kSheetBorder);
    imgLogo = new Artwork(p, QStringLiteral("imgLogo"), QStringLiteral(":/import/banner.svg"),
                          QRect(13, 13, 505, 55));
    cmdGuida = new ClickPicture(p, QStringLiteral("cmdGuida"), QStringLiteral(":/exports/guida.svg"),
                                QRect(884, 13, 50, 55));

    const QFont bold = Look::uiFont(Look::kDefaultPoints, true);
    QLabel *lblCartella = label(p, "lblCartella", QStringLiteral("Cartella:"), QRect(8, 84, 70, 24));
    lblCartella->setFont(bold);
    txtCartella = new QLineEdit(p);
    txtCartella->setObjectName(QStringLiteral("txtCartella"));
    nameAfter(txtCartella, lblCartella->text(), lblCartella);
    txtCartella->setGeometry(80, 84, 440, 24);
    Fields::backgroundHighlight(txtCartella);
    cmdSfoglia = button(p, "cmdSfoglia", QStringLiteral("Sfoglia..."), QRect(526, 83, 90, 26));
    chkSottocartelle = new QCheckBox(QStringLiteral("Includi le sottocartelle"), p);
    chkSottocartelle->setObjectName(QStringLiteral("chkSottocartelle"));
    chkSottocartelle->setChecked(true);
    chkSottocartelle->setGeometry(626, 84, 190, 24);
    chkSottocartelle->setCursor(Qt::PointingHandCursor);
    cmdLeggi = button(p, "cmdLeggi", QStringLiteral("Leggi i file"), QRect(826, 83, 122, 26));

    prbLettura = new QProgressBar(p);
    prbLettura->setObjectName(QStringLiteral("prbLettura"));
    prbLettura->setGeometry(8, 118, 600, 20);
    prbLettura->setRange(0, 1);
    prbLettura->setValue(0);
    prbLettura->setTextVisible(false);
    lblProgresso = label(p, "lblProgresso", QString(), QRect(618, 116, 330, 24));
    lblProgresso->setFont(bold);

    grdBrani = new QTableView(p);
    nameAfter(grdBrani, QStringLiteral("Brani letti"));
    grdBrani->setObjectName(QStringLiteral("grdBrani"));
    grdBrani->setGeometry(8, 146, 940, 330);
    grdBrani->setModel(m_model);
    grdBrani->setAlternatingRowColors(true);
    grdBrani->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdBrani->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdBrani->setWordWrap(false);
    grdBrani->verticalHeader()->hide();
    // Fixed sizes: nothing is measured per cell, so thousands of rows appear at once.
    grdBrani->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdBrani->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grdBrani->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    for (int c = 0; c < m_model->columnCount(); ++c)
        grdBrani->setColumnWidth(c, ImportModel::columnWidth(c));

    lblScartati = label(p, "lblScartati", QStringLiteral("File non letti:"), QRect(8, 480, 600, 20));
    lblScartati->setFont(bold);
    lstScartati = new QListWidget(p);
    nameAfter(lstScartati, lblScartati->text(), lblScartati);
    lstScartati->setObjectName(QStringLiteral("lstScartati"));
    lstScartati->setGeometry(8, 500, 940, 66);

    lblConteggio = label(p, "lblConteggio", QString(), QRect(8, 574, 360, 28));
    lblConteggio->setFont(bold);
    cmdTutti = button(p, "cmdTutti", QStringLiteral("Spunta tutti"), QRect(376, 574, 120, 28));
    cmdNessuno = button(p, "cmdNessuno", QStringLiteral("Togli tutte le spunte"), QRect(502, 574, 170, 28));
    cmdImporta = button(p, "cmdImporta", QStringLiteral("Importa"), QRect(744, 574, 100, 28));
    cmdImporta->setFont(bold);
    cmdAnnulla = button(p, "cmdAnnulla", QStringLiteral("Annulla"), QRect(848, 574, 100, 28));

    shpInfo = shape(p, QStringLiteral("shpInfo"), QRect(8, 608, 940, 30), Look::kSlateBlue, QColor());
    panInfo = new QLabel(kReady, p);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setGeometry(14, 611, 928, 24);
    panInfo->setFont(QFont(QStringLiteral("Tahoma"), 12));
    panInfo->setStyleSheet(QStringLiteral("color: white;"));

    auto *hints = new Fields::HintLine(panInfo);
    for (QWidget *w : {static_cast<QWidget *>(this), p, shpSfondo, shpInfo, static_cast<QWidget *>(imgLogo)})
        hints->background(w);
    hints->command(cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    hints->command(cmdSfoglia, QStringLiteral("Sceglie la cartella che contiene i file audio."));
    hints->command(chkSottocartelle, QStringLiteral("Legge anche i file audio delle sottocartelle."));
    hints->command(cmdLeggi, QStringLiteral("Legge i tag dei file audio della cartella e ne mostra le schede."));
    hints->command(cmdTutti, QStringLiteral("Spunta tutti i brani della griglia."));
    hints->command(cmdNessuno, QStringLiteral("Toglie la spunta a tutti i brani della griglia."));
    hints->command(cmdImporta, QStringLiteral("Aggiunge alla collection le schede dei brani spuntati."));
    hints->command(cmdAnnulla, QStringLiteral("Chiude la finestra senza aggiungere nessuna scheda."));

    connect(cmdGuida, &ClickPicture::clicked, this, [this] { guarded([this] { cmdGuidaClick(); }); });
    connect(cmdSfoglia, &QPushButton::clicked, this, [this] { guarded([this] { cmdSfogliaClick(); }); });
    connect(cmdLeggi, &QPushButton::clicked, this, [this] { guarded([this] { cmdLeggiClick(); }); });
    connect(cmdImporta, &QPushButton::clicked, this, [this] { guarded([this] { cmdImportaClick(); }); });
    connect(cmdAnnulla, &QPushButton::clicked, this, [this] { guarded([this] { cmdAnnullaClick(); }); });
    connect(txtCartella, &QLineEdit::returnPressed, this, [this] { guarded([this] { cmdLeggiClick(); }); });
    connect(cmdTutti, &QPushButton::clicked, this, [this] { m_model->setAllChecked(true); });
    connect(cmdNessuno, &QPushButton::clicked, this, [this] { m_model->setAllChecked(false); });
    connect(m_model, &ImportModel::checkedCountChanged, this, &FrmImportaBrani::showCount);
    // The box ticks itself; a click on the row's state words ticks it too.
    connect(grdBrani, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (index.column() != ImportModel::Stato)
            return;
        m_model->setChecked(index.row(), !m_model->isChecked(index.row()));
    });

    setReading(false);
    showCount(0);
    lblProgresso->setText(QStringLiteral("Scegliere la cartella dei file audio."));
}

FrmImportaBrani::~FrmImportaBrani()
{
    stopReading();
}

void FrmImportaBrani::showCount(int checked)
{
    lblConteggio->setText(QStringLiteral("%1 brani spuntati su %2").arg(number(checked), number(m_model->rowCount())));
    cmdImporta->setEnabled(!isReading() && m_model->rowCount() > 0);
}

void FrmImportaBrani::setReading(bool on)
{
    for (QWidget *w : {static_cast<QWidget *>(txtCartella), static_cast<QWidget *>(cmdSfoglia),
                       static_cast<QWidget *>(chkSottocartelle), static_cast<QWidget *>(cmdLeggi),
                       static_cast<QWidget *>(cmdTutti), static_cast<QWidget *>(cmdNessuno)})
        w->setEnabled(!on);
    cmdImporta->setEnabled(!on && m_model->rowCount() > 0);
    if (on)
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    else if (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

void FrmImportaBrani::stopReading()
{
    if (!m_reader)
        return;
    // The reader stops between two files; the one being read is finished first.
    m_reader->disconnect(this);
    m_reader->cancel();
    m_reader->wait();
    delete m_reader;
    m_reader = nullptr;
    setReading(false);
}

void FrmImportaBrani::cmdSfogliaClick()
{
    const QString chosen =
        desktop().folderName(this, QStringLiteral("Scegli la cartella dei file audio"), ctrim(txtCartella->text()));
    if (chosen.isEmpty())
        return;
    txtCartella->setText(QDir::toNativeSeparators(chosen));
    cmdLeggiClick();
}

void FrmImportaBrani::cmdLeggiClick()
{
    if (m_reader)
        return;
    const QString folder = ctrim(txtCartella->text());
    if (folder.isEmpty()) {
        desktop().warning(kNoFolder);
        txtCartella->setFocus();
        return;
    }
    if (!QFileInfo(folder).isDir()) {
        desktop().warning(kMissingFolder);
        txtCartella->setFocus();
        return;
    }
    m_model->clear();
    lstScartati->clear();
    lblScartati->setText(QStringLiteral("File non letti:"));
    prbLettura->setRange(0, 0); // busy until the files are counted
    lblProgresso->setText(QStringLiteral("ricerca dei file audio..."));
    m_reader = new FolderReader(folder, chkSottocartelle->isChecked(), m_collection);
    connect(m_reader, &FolderReader::progress, this, &FrmImportaBrani::readerProgress);
    connect(m_reader, &QThread::finished, this, [this] { guarded([this] { readerFinished(); }); });
    setReading(true);
    m_reader->start();
}

void FrmImportaBrani::readerProgress(int done, int total)
{
    prbLettura->setRange(0, qMax(total, 1));
    prbLettura->setValue(total == 0 ? 1 : done);
    lblProgresso->setText(progressText(done, total));
}

void FrmImportaBrani::readerFinished()
{
    if (!m_reader)
        return;
    const FolderReading reading = m_reader->reading();
    delete m_reader;
    m_reader = nullptr;
    setReading(false);
    if (reading.cancelled)
        return;
    m_model->setRows(reading.rows);
    for (const UnreadableFile &f : reading.unreadable)
        lstScartati->addItem(f.relative + QStringLiteral(" — ") + f.reason);
    lblScartati->setText(QStringLiteral("File non letti: %1").arg(number(reading.unreadable.size())));
    const int total = int(reading.rows.size() + reading.unreadable.size());
    prbLettura->setRange(0, qMax(total, 1));
    prbLettura->setValue(qMax(total, 1));
    QString state = progressText(total, total);
    if (total == 0)
        state = QStringLiteral("nessun file audio nella cartella");
    lblProgresso->setText(state);
    if (!reading.collectionError.isEmpty())
        desktop().warning(kCollectionUnread);
}

void FrmImportaBrani::cmdImportaClick()
{
    if (m_reader)
        return;
    const QList<SongCard> cards = m_model->checkedCards();
    if (cards.isEmpty()) {
        desktop().warning(kNothingChecked);
        return;
    }
    // The collection as it was before the import stays in the backups.
    const QFileInfo target(m_collection);
    if (!BackupCommands::beforeRisk(this, target.absolutePath(),
                                    QStringLiteral("Prima dell'importazione in %1").arg(target.fileName()),
                                    {target.fileName()}))
        return;
    QByteArray records;
    records.reserve(qsizetype(cards.size()) * SongCard::kSize);
    for (const SongCard &card : cards)
        records += card.encode();
    try {
        RecordFile file(m_collection, SongCard::kSize);
        m_first = file.appendBatch(records);
        file.close();
    } catch (const BatchAppendError &e) {
        if (e.outcome() == BatchAppendError::Outcome::PartialRecordLost)
            desktop().error(kAppendPartialRecordLost.arg(e.lostBytes()));
        else
            desktop().error(e.undone() ? kAppendFailed : kAppendNotUndone);
        return;
    } catch (const FileError &) {
        desktop().error(kAppendFailed);
        return;
    }
    m_added = cards.size();
    desktop().information(addedText(m_added));
    accept();
}

void FrmImportaBrani::cmdAnnullaClick()
{
    reject();
}

void FrmImportaBrani::reject()
{
    stopReading();
    FixedDialog::reject();
}

void FrmImportaBrani::cmdGuidaClick()
{
    FrmGuida::showTopic(this, QString::fromUtf8(kImportHelpTitle), FrmGuida::joinParagraphs(importHelpParagraphs()));
}
