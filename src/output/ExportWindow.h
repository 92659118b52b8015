#pragma once

#include "app/Windows.h"
#include "output/ExportTable.h"

class Artwork;
class ClickPicture;
class QLabel;
class QTableView;
class RecordSchema;

// What sets one export window apart from the other: its names, its source and its columns.
struct ExportKind {
    QString windowName; // "frmExpCollection"
    QString title;      // the window's caption
    QString sheetName;  // the worksheet's name
    QString fileName;   // in the program folder
    QString helpTitle;
    QStringList helpParagraphs;
    const QList<ExportColumn> &columns;
    const RecordSchema &schema;
};

// The spreadsheet export of a whole archive: a read-out grid of every card and a command that
// writes it as a spreadsheet file in the program folder, then offers to open it.
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

    ExportTableModel *model() const { return m_model; }
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

protected:
    void showEvent(QShowEvent *event) override;

private:
    ExportKind m_kind;
    QString m_archivePath;
    ExportTableModel *m_model;
    bool m_loaded = false;
};
