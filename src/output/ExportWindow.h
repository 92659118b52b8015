#pragma once

#include "app/Windows.h"
#include "output/ExportTable.h"
#include "output/SpreadsheetWriter.h"

class Artwork;
class ClickPicture;
class QComboBox;
class QLabel;
class QTableView;
class RecordSchema;

// What sets one export window apart from the other: its names, its source and its columns.
struct ExportKind {
    QString windowName; // "frmExpCollection"
    QString title;      // the window's caption
    QString sheetName;  // the worksheet's name
    QString fileName;   // in the program folder, with the suffix of the default format (.xls)
    QString helpTitle;
    QStringList helpParagraphs;
    const QList<ExportColumn> &columns;
    const RecordSchema &schema;
};

// The spreadsheet export of a whole archive: a read-out grid of every card and a command that
// writes it as a spreadsheet file, then offers to open it. The default format (.xls) goes straight
// to the program folder; the other formats ask where, proposing the same name and folder.
class ExportWindow : public FixedDialog
{
    Q_OBJECT
public:
    // `archivePath` is the file whose cards the grid shows.
    ExportWindow(QWidget *owner, const ExportKind &kind, const QString &archivePath);

    static const QString kAskExport;
    static const QString kAskOpen;
    static const QString kExportFailed;
    static const QString kReady;

    static const QString kFormatCaption;

    ExportTableModel *model() const { return m_model; }
    // The format chosen in cboFormato.
    SpreadsheetWriter::Format format() const;
    // The file written for the chosen format, or proposed to the save dialog: the program folder
    // and the export's name, with the format's suffix.
    QString exportPath() const;

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

protected:
    void showEvent(QShowEvent *event) override;

private:
    ExportKind m_kind;
    QString m_archivePath;
    ExportTableModel *m_model;
    bool m_loaded = false;
};
