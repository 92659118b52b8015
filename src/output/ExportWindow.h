#pragma once

#include "app/Windows.h"
#include "output/ExportTable.h"
#include "output/SpreadsheetWriter.h"

#include <QDate>

class Artwork;
class ClickPicture;
class QCheckBox;
class QComboBox;
class QLabel;
class QTableView;
class RecordSchema;

// What sets one export window apart from the other: its names, its source and its columns.
struct ExportKind {
    QString windowName; // "frmExpCollection"
    QString title;      // the window's caption
    QString sheetName;  // the worksheet's name
    QString fileName;   // the .xls, in the program folder
    QString name;       // what the other formats' files are named after, with the date
    QString helpTitle;
    QStringList helpParagraphs;
    const QList<ExportColumn> &columns;
    const RecordSchema &schema;
};

// The spreadsheet export of a whole archive: a read-out grid of every card and a command that
// writes it as a spreadsheet file, then offers to open it or its folder. The default format (.xls)
// goes straight to the program folder; the other formats ask where, proposing the archive's name
// and the date, and can carry every field of the card.
class ExportWindow : public FixedDialog
{
    Q_OBJECT
public:
    // `archivePath` is the file whose cards the grid shows.
    ExportWindow(QWidget *owner, const ExportKind &kind, const QString &archivePath);

    static const QString kReady;
    static const QString kFormatCaption;
    static const QString kAllColumns;

    ExportTableModel *model() const { return m_model; }
    // The format chosen in cboFormato.
    SpreadsheetWriter::Format format() const;
    // True when the export writes every field: "Tutte le colonne" ticked, for a format other
    // than the .xls.
    bool allColumns() const;
    // The file written for the .xls, or proposed to the save dialog for the other formats: the
    // program folder, the export's name, the date and the format's suffix.
    QString exportPath() const;
    // "Rock 2026-12-11.xlsx".
    static QString proposedName(const QString &name, QDate date, SpreadsheetWriter::Format format);

    // Handlers.
    void FormShow();
    void cmdEsportaClick();
    void cmdGuidaClick();
    void cmdEsciClick();

    QWidget *shpSfondo = nullptr, *shpInfo = nullptr;
    Artwork *imgLogo = nullptr, *icoHand = nullptr;
    ClickPicture *cmdEsporta = nullptr, *cmdGuida = nullptr, *cmdEsci = nullptr;
    QTableView *grdRecords = nullptr;
    QLabel *panInfo = nullptr;
    QLabel *lblFormato = nullptr;
    QComboBox *cboFormato = nullptr;
    QCheckBox *chkTutte = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Shows the columns the chosen export writes.
    void showColumns();

    ExportKind m_kind;
    QString m_archivePath;
    ExportTableModel *m_model;
    bool m_loaded = false;
};
