#pragma once

#include "output/CardPrintWindow.h"
#include "records/SongCard.h"

// The preview and print windows of a song card: they fill "Scheda Canzone" with the card they
// were given (the one the editor shows, saved or not) and the collection's title.
class SongCardWindow : public CardPrintWindow
{
    Q_OBJECT
public:
    // The template component, a copy of "Scheda Canzone".
    report::ReportTemplate repScheda;

protected:
    SongCardWindow(QWidget *owner, const SongCard &card, const QString &collection, const Design &design);
    void btnStampaClick() override;

private:
    SongCard m_card;
    QString m_collection;
};
