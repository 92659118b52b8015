#include "output/SongCardWindow.h"

#include "core/Text.h"
#include "report/ReportLayout.h"
#include "report/ReportTemplates.h"

SongCardWindow::SongCardWindow(QWidget *owner, const SongCard &card, const QString &collection,
                               const Design &design)
    : CardPrintWindow(owner, design)
    , repScheda(report::songCardTemplate())
    , m_card(card)
    , m_collection(collection)
{
}

void SongCardWindow::btnStampaClick()
{
    // Failures here are not caught: they reach the general error report and the window stays.
    repScheda.setOrientation(QPageLayout::Portrait);
    repScheda.setText(QStringLiteral("txtCollection"), ctrim(m_collection));
    // The layout says which fields the card prints and where.
    for (const FieldInfo &f : SongCard::fields()) {
        const QString cell = QString::fromLatin1(f.control);
        if (!repScheda.findObject(cell))
            continue;
        QString text = ctrim(m_card.text(f.field));
        if (f.printPrefix)
            text = QString::fromUtf8(f.printPrefix) + text;
        repScheda.setText(cell, text);
    }
    handOver(report::prepareReport(repScheda));
    accept();
}
