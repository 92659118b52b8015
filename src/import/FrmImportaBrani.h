#pragma once

#include "app/Windows.h"

class Artwork;
class ClickPicture;
class FolderReader;
class ImportModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableView;

// Import of song cards from the tags of a folder of audio files into one collection: choose
// the folder, read it off the interface thread, check the preview, add the checked cards in
// one batch. Cancelling at any time adds nothing.
class FrmImportaBrani : public FixedDialog
{
    Q_OBJECT
public:
    // `collectionPath` is the collection file the cards are added to.
    FrmImportaBrani(QWidget *owner, const QString &collectionPath);
    ~FrmImportaBrani() override;

    // After the window closed: how many cards were added, and the position of the first.
    qint64 added() const { return m_added; }
    qint64 firstAdded() const { return m_first; }
    ImportModel *model() const { return m_model; }
    bool isReading() const { return m_reader != nullptr; }

    static const QString kReady;
    static const QString kNoFolder;
    static const QString kMissingFolder;
    static const QString kNothingChecked;
    static const QString kAppendFailed;
    static const QString kAppendNotUndone;
    static const QString kAppendPartialRecordLost; // %1: bytes of the fragment
    static const QString kCollectionUnread;
    // "È stata aggiunta 1 scheda..." / "Sono state aggiunte 12 schede..."
    static QString addedText(qint64 count);
    // "letti 1.234 file su 3.000"
    static QString progressText(int done, int total);

    // Handlers.
    void cmdSfogliaClick();
    void cmdLeggiClick();
    void cmdImportaClick();
    void cmdAnnullaClick();
    void cmdGuidaClick();

    QWidget *shpSfondo = nullptr, *shpInfo = nullptr;
    Artwork *imgLogo = nullptr;
    ClickPicture *cmdGuida = nullptr;
    QLineEdit *txtCartella = nullptr;
    QPushButton *cmdSfoglia = nullptr, *cmdLeggi = nullptr, *cmdTutti = nullptr, *cmdNessuno = nullptr;
    QPushButton *cmdImporta = nullptr, *cmdAnnulla = nullptr;
    QCheckBox *chkSottocartelle = nullptr;
    QProgressBar *prbLettura = nullptr;
    QLabel *lblProgresso = nullptr, *lblConteggio = nullptr, *lblScartati = nullptr, *panInfo = nullptr;
    QTableView *grdBrani = nullptr;
    QListWidget *lstScartati = nullptr;

public slots:
    void reject() override;

private:
    void readerProgress(int done, int total);
    void readerFinished();
    void showCount(int checked);
    void setReading(bool on);
    void stopReading();

    QString m_collection;
    ImportModel *m_model;
    FolderReader *m_reader = nullptr;
    qint64 m_added = 0;
    qint64 m_first = 0;
};
