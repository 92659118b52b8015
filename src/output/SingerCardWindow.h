#pragma once

#include "output/CardPrintWindow.h"
#include "records/SingerCard.h"
#include "records/SingerPhoto.h"

class PictureBox;

// The preview and print windows of a singer card: they fill "Scheda cantante" with the card
// and the photo they were given (what the editor shows, saved or not). Any failure of the
// layout or the hand-over gives one warning and closes the window.
class SingerCardWindow : public CardPrintWindow
{
    Q_OBJECT
public:
    // The template component, a copy of "Scheda cantante".
    report::ReportTemplate repDocumento;
    // Hidden pictures: the card's photo, taken when the window is shown, and the placeholder.
    PictureBox *imgLogo = nullptr, *imgTemp = nullptr;

    // The warning of a failed fill, layout, preview or print.
    static const QString kFailure;

protected:
    // `photo` is the card's photo; a null or undecodable one prints `placeholder`.
    SingerCardWindow(QWidget *owner, const SingerCard &card, const SingerPhoto::Photo &photo,
                     const QImage &placeholder, const Design &design);
    void showEvent(QShowEvent *event) override;
    void btnStampaClick() override;

private:
    void FormShow();
    SingerCard m_card;
    SingerPhoto::Photo m_photo;
};
