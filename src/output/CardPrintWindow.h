#pragma once

#include "app/Windows.h"
#include "report/ReportTemplate.h"

class Artwork;
class QPushButton;

namespace report
{
class PreparedReport;
}

// The small window that explains a card's preview or print and offers Annulla and the
// confirm button. The song and singer windows of both kinds share this look and these steps.
class CardPrintWindow : public FixedDialog
{
    Q_OBJECT
public:
    enum class Mode { Preview, Print };

    Mode mode() const { return m_mode; }

    QWidget *shpSfondo = nullptr, *shpSepara = nullptr;
    Artwork *icoInf01 = nullptr, *imgLogo01 = nullptr, *imgSezione04 = nullptr, *icoInf02 = nullptr;
    QPushButton *btnAnnulla = nullptr, *btnStampa = nullptr;

protected:
    struct Design {
        const char *name;
        Mode mode;
        QSize client;
        QColor top;
        int whiteWidth;      // of shpSfondo
        int buttonWidth;     // both buttons
        int confirmLeft;     // of btnStampa
        const char *confirm; // btnStampa's text
    };
    CardPrintWindow(QWidget *owner, const Design &design);

    // ShowReport in the preview window, or Print through the print dialog.
    void handOver(const report::PreparedReport &laidOut);
    // Fills the template and hands it over; the window closes afterwards.
    virtual void btnStampaClick() = 0;
    void btnAnnullaClick();

private:
    Mode m_mode;
};
