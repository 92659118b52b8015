#pragma once

#include "table/CardIndex.h"

#include <QElapsedTimer>
#include <QWidget>

#include <atomic>
#include <memory>

class CardTableModel;
class HitDelegate;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QThread;
class QTimer;

// "Elenco": every card of a collection or of the singer archive in a sortable table, with a
// search that filters the rows as the user types. Shows positions and hands back the picked
// one; it never writes the archive.
//
// To connect it: create it with the archive's path and kind, connect cardPicked(position) to
// the editor's "show the card at this position" (after its unsaved-changes question), and call
// updateCard(position) after every save or import of a card of the same file.
class FrmElenco : public QWidget
{
    Q_OBJECT
public:
    FrmElenco(const QString &path, ArchiveKind kind, QWidget *parent = nullptr);
    ~FrmElenco() override;

    QString path() const { return m_path; }
    ArchiveKind kind() const { return m_kind; }
    // Positions of the rows shown (the current search), in table order.
    QList<qint64> positionsShown() const;
    // Positions of the selected rows, in table order.
    QList<qint64> selectedPositions() const;
    // The card at `position` was saved by this program: its row shows it at once.
    void updateCard(qint64 position);
    // True once the file has been read.
    bool isReady() const { return m_ready; }
    const CardIndex &index() const { return m_index; }
    // Runs the search at once, without waiting for a pause in the typing.
    void search() { runSearch(); }
    // "37 schede su 10.000", "1 scheda su 340".
    static QString countLine(qsizetype shown, qsizetype total);

    QLabel *lblTitolo = nullptr;
    QLineEdit *txtCerca = nullptr;
    QComboBox *cboCampi = nullptr;
    QCheckBox *chkDoppioni = nullptr;
    QTableView *grdElenco = nullptr;
    QLabel *lblConteggio = nullptr;
    QProgressBar *prgIndice = nullptr;
    QLabel *lblStato = nullptr;
    QPushButton *btnCanzoniere = nullptr;

    // The songbook button: shown for a collection whose editor can open the songbook.
    void setSongbookShown(bool shown);
    // What the songbook is given: the selected rows, or every row of the search when none is.
    QList<qint64> songbookPositions() const;

signals:
    // Double click or Enter on a row (Enter in the search box takes the current or first row).
    void cardPicked(qint64 position);
    // The songbook button: the positions of songbookPositions().
    void songbookRequested(const QList<qint64> &positions);
    // The file has been read (again) and the rows show it.
    void ready();

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void startScan();
    void scanFinished();
    void txtCercaTextChanged();
    void runSearch();
    void showCount();
    void pickRow(int row);
    void saveSettings() const;
    void restoreSettings();
    QString settingsGroup() const;

    QString m_path;
    ArchiveKind m_kind;
    CardIndex m_index;
    CardTableModel *m_model = nullptr;
    HitDelegate *m_delegate = nullptr;

    // The reading of the file, off the interface thread.
    QThread *m_worker = nullptr;
    std::atomic<qint64> m_done{0};
    std::atomic<bool> m_stop{false};
    CardIndex::Scan m_scan;
    QElapsedTimer m_scanClock;
    QTimer *m_progress = nullptr;
    bool m_ready = false;
    bool m_searchAgain = false;

    // What the rows show, so that a longer query only narrows them.
    QList<QByteArray> m_words;
    int m_scope = -1;
    bool m_doubles = false;
    QVector<int> m_result;
    QVector<int> m_duplicates;
    bool m_duplicatesKnown = false;
    // Searches run at each keystroke while they keep up; slower ones wait for a pause.
    QTimer *m_debounce = nullptr;
    qint64 m_lastSearchMs = 0;
};
