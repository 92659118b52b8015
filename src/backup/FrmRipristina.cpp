#include "backup/FrmRipristina.h"

#include "app/Desktop.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "backup/BackupCommands.h"
#include "backup/FrmAvanzamento.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>

namespace
{

const QStringList kColumns{QStringLiteral("Data"),          QStringLiteral("Motivo"),
                           QStringLiteral("Dimensione"),    QStringLiteral("Collection"),
                           QStringLiteral("Schede canzoni"), QStringLiteral("Schede cantanti"),
                           QStringLiteral("Foto"),          QStringLiteral("Allegati")};

QString dateText(const QDateTime &when)
{
    return when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

QString number(qint64 n)
{
    return QLocale(QLocale::Italian, QLocale::Italy).toString(n);
}

QString coverage(const Backups::Info &info)
{
    if (info.items.isEmpty())
        return QStringLiteral("Tutti gli archivi, le foto, gli allegati e la password attuali saranno sostituiti da "
                              "quelli della copia.");
    return QStringLiteral("Saranno sostituiti soltanto: %1.").arg(info.items.join(QStringLiteral(", ")));
}

} // namespace

FrmRipristina::FrmRipristina(QWidget *owner, const QString &dataFolder)
    : FixedDialog(owner, QStringLiteral("frmRipristina"), QString::fromUtf8(BackupCommands::kRestoreTitle),
                  QSize(900, 520), Look::kSteelBlue, Qt::white, QSize(880, 500))
    , m_data(dataFolder)
{
    QWidget *p = panel();
    shape(p, QStringLiteral("shpSfondo"), QRect(0, 0, 880, 500), Qt::white, Look::kBoxBorder);
    QLabel *heading = caption(p, QStringLiteral("lblTitolo"), QStringLiteral("Copie di sicurezza"), QPoint(16, 12),
                              QStringLiteral("Verdana"), 14, true);
    QPalette hp = heading->palette();
    hp.setColor(QPalette::WindowText, Look::kInk);
    heading->setPalette(hp);
    lblCartella = caption(p, QStringLiteral("lblCartella"),
                          QStringLiteral("Cartella: ") + QDir::toNativeSeparators(Backups::folder(dataFolder)),
                          QPoint(16, 46));
    lblCartella->setTextFormat(Qt::PlainText);
    lblCartella->setFixedWidth(848);

    tblCopie = new QTableWidget(p);
    tblCopie->setObjectName(QStringLiteral("tblCopie"));
    tblCopie->setGeometry(16, 72, 848, 360);
    tblCopie->setColumnCount(int(kColumns.size()));
    tblCopie->setHorizontalHeaderLabels(kColumns);
    tblCopie->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblCopie->setSelectionMode(QAbstractItemView::SingleSelection);
    tblCopie->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblCopie->verticalHeader()->hide();
    tblCopie->setFont(Look::font(QStringLiteral("Verdana"), 9));
    tblCopie->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    nameAfter(tblCopie, QStringLiteral("Copie di sicurezza"));

    const QFont buttons = Look::font(QStringLiteral("Verdana"), 9, true);
    btnAltroFile = pushButton(p, QStringLiteral("btnAltroFile"), QStringLiteral("Altro file..."), QRect(16, 448, 150, 36), buttons);
    btnChiudi = pushButton(p, QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), QRect(570, 448, 140, 36), buttons);
    btnRipristina = pushButton(p, QStringLiteral("btnRipristina"), QStringLiteral("Ripristina"), QRect(724, 448, 140, 36), buttons);
    connect(btnRipristina, &QPushButton::clicked, this, [this] { guarded([this] { btnRipristinaClick(); }); });
    connect(btnAltroFile, &QPushButton::clicked, this, [this] { guarded([this] { btnAltroFileClick(); }); });
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(tblCopie, &QTableWidget::cellDoubleClicked, this, [this] { guarded([this] { btnRipristinaClick(); }); });
    closeOnEscape(btnChiudi);
    fillList();
}

void FrmRipristina::fillList()
{
    m_backups = Backups::list(m_data);
    tblCopie->clearContents();
    tblCopie->setRowCount(int(m_backups.size()));
    for (int row = 0; row < m_backups.size(); ++row) {
        const Backups::Info &b = m_backups.at(row);
        QStringList cells{dateText(b.created), b.valid ? b.reason : QStringLiteral("Non utilizzabile: ") + b.problem,
                          BackupCommands::sizeText(b.size)};
        if (b.valid)
            cells << number(b.collections) << number(b.songCards) << number(b.singerCards) << number(b.photos)
                  << number(b.attachments);
        for (int column = 0; column < kColumns.size(); ++column) {
            // QTableWidgetItem shows its text as plain text: a reason holds a collection's name.
            auto *item = new QTableWidgetItem(column < cells.size() ? cells.at(column) : QString());
            if (column >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (!b.valid)
                item->setForeground(Qt::gray);
            tblCopie->setItem(row, column, item);
        }
    }
    tblCopie->resizeColumnsToContents();
    tblCopie->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    tblCopie->clearSelection();
}

void FrmRipristina::btnRipristinaClick()
{
    if (m_backups.isEmpty()) {
        desktop().warning(QStringLiteral("Attenzione: nella cartella Backup non c'è nessuna copia di sicurezza."));
        return;
    }
    const QList<QTableWidgetItem *> selected = tblCopie->selectedItems();
    if (selected.isEmpty()) {
        desktop().warning(QStringLiteral("Attenzione: selezionare dall'elenco la copia di sicurezza da ripristinare "
                                         "prima di premere il pulsante Ripristina."));
        return;
    }
    restoreFrom(m_backups.at(selected.first()->row()).path);
}

void FrmRipristina::btnAltroFileClick()
{
    const QString zip = desktop().openFileName(this, QStringLiteral("Scegli la copia di sicurezza da ripristinare"),
                                               Backups::folder(m_data),
                                               {{QStringLiteral("Copia di sicurezza"), {QStringLiteral("*.zip")}}});
    if (!zip.isEmpty())
        restoreFrom(zip);
}

void FrmRipristina::restoreFrom(const QString &zip)
{
    // Checked whole before the question: a damaged or foreign file is refused here.
    Backups::Info info;
    {
        FrmAvanzamento checking(this, QString::fromUtf8(BackupCommands::kRestoreTitle),
                                QStringLiteral("Controllo della copia di sicurezza in corso..."),
                                [&info, zip](const Backups::Task &task) { info = Backups::check(zip, task); });
        const FrmAvanzamento::Result result = checking.run();
        if (result == FrmAvanzamento::Result::Failed) {
            desktop().warning(checking.error());
            return;
        }
        if (result == FrmAvanzamento::Result::Cancelled)
            return;
    }
    const QString question =
        QStringLiteral("Si sta per ripristinare la copia di sicurezza del %1 (%2).\r\n\r\n%3 Lo stato attuale sarà prima "
                       "salvato in una copia di sicurezza automatica, che si potrà ripristinare a sua volta.\r\n\r\n"
                       "Si conferma il ripristino?")
            .arg(dateText(info.created), info.reason, coverage(info));
    if (!desktop().confirmIrreversible(question))
        return;

    FrmAvanzamento restoring(this, QString::fromUtf8(BackupCommands::kRestoreTitle),
                             QStringLiteral("Ripristino della copia di sicurezza in corso..."),
                             [this, zip](const Backups::Task &task) { Backups::restore(m_data, zip, task); });
    switch (restoring.run()) {
    case FrmAvanzamento::Result::Done:
        desktop().information(
            QStringLiteral("Il ripristino è stato completato con successo.%1")
                .arg(info.items.isEmpty() || info.items.contains(QStringLiteral("unins000.dll"))
                         ? QStringLiteral("\r\n\r\nLa password è ora quella in uso quando la copia è stata creata.")
                         : QString()));
        break;
    case FrmAvanzamento::Result::Cancelled:
        desktop().information(QStringLiteral("Il ripristino è stato annullato: non è stato modificato nulla."));
        break;
    case FrmAvanzamento::Result::Failed:
        desktop().error(restoring.error());
        break;
    }
    fillList();
}
