#pragma once

#include "output/CardPrintWindow.h"

class FrmCollection;

// The preview and print windows of a song card: they fill "Scheda Canzone" with the card the
// editor shows now, saved or not.
class SongCardWindow : public CardPrintWindow
{
    Q_OBJECT
public:
    // The template component, a copy of "Scheda Canzone".
    report::ReportTemplate repScheda;

protected:
    SongCardWindow(FrmCollection *editor, const Design &design);
    void btnStampaClick() override;

private:
    FrmCollection *m_editor;
};
