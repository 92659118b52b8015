#pragma once

#include "output/CardPrintWindow.h"

class FrmAnagrafica;
class PictureBox;

// The preview and print windows of a singer card: they fill "Scheda cantante" with the photo
// and the 26 fields the editor shows now. Any failure gives one warning and closes the window.
class SingerCardWindow : public CardPrintWindow
{
    Q_OBJECT
public:
    // The template component, a copy of "Scheda cantante".
    report::ReportTemplate repDocumento;
    // Hidden pictures: the editor's photo, taken when the window is shown, and the placeholder.
    PictureBox *imgLogo = nullptr, *imgTemp = nullptr;

    // The warning of a failed fill, layout, preview or print.
    static const QString kFailure;

protected:
    SingerCardWindow(FrmAnagrafica *editor, const Design &design);
    void showEvent(QShowEvent *event) override;
    void btnStampaClick() override;

private:
    void FormShow();
    FrmAnagrafica *m_editor;
};
