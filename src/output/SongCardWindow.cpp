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
    for (const FieldInfo &f : SongCard::fields()) {
        if (!f.reportObject)
            continue;
        QString text = ctrim(m_card.text(f.field));
        if (f.reportPrefix)
            text = QString::fromUtf8(f.reportPrefix) + text;
        repScheda.setText(QString::fromLatin1(f.reportObject), text);
    }
    handOver(report::prepareReport(repScheda));
    accept();
}
