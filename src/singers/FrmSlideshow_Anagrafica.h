#pragma once

#include "singers/PhotoWindow.h"

class ClickPicture;
class QLabel;
class QTimer;

// The photo slideshow: every six seconds the photo of the next singer card, and one idle tick
// after the last card before starting again from the first.
class FrmSlideshow_Anagrafica : public PhotoWindow
{
    Q_OBJECT
public:
    explicit FrmSlideshow_Anagrafica(QWidget *owner = nullptr);

    static constexpr int kInterval = 6000;

    // The next-photo step, run by each tick of the timer.
    void cmdAvantiClick();

    PictureBox *imgBianco = nullptr;
    QLabel *lblPosizione = nullptr;
    ClickPicture *cmdAvanti = nullptr;
    QTimer *Timer = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void step();
    bool m_busy = false;
};
