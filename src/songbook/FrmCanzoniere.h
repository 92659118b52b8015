#pragma once

#include "app/Windows.h"
#include "songbook/Songbook.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The songbook window: which cards, in which order and with which layout, then preview, print
// or PDF. It takes values only (the collection's path and title, and the positions a table
// view or a search hands over), so any window can open it.
class FrmCanzoniere : public FixedDialog
{
    Q_OBJECT
public:
    // `positions` (1-based, in the caller's order), when given, offer "the cards chosen" and
    // start with them selected.
    FrmCanzoniere(QWidget *owner, const QString &collectionPath, const QString &title,
                  const QList<qint64> &positions = {});

    // The choices as the window shows them.
    songbook::Options options() const;

    QLabel *lblCollection = nullptr;
    QRadioButton *optTutte = nullptr, *optSegnalate = nullptr, *optScelte = nullptr;
    QComboBox *cmbOrdine = nullptr;
    QRadioButton *optTesto = nullptr, *optAffiancati = nullptr;
    QPushButton *btnAnnulla = nullptr, *btnAnteprima = nullptr, *btnStampa = nullptr, *btnPdf = nullptr;

    static const QString kNoSongs;

private:
    void btnAnteprimaClick();
    void btnStampaClick();
    void btnPdfClick();
    // The book of the current choices; false (with a warning shown) when it cannot be made.
    bool build(songbook::Book &book);
    QString proposedPdfName() const;

    QString m_path;
    QString m_title;
    QList<qint64> m_positions;
};
