#include "output/SingerCardWindow.h"

#include "app/Desktop.h"
#include "app/PictureBox.h"
#include "core/Text.h"
#include "report/ReportLayout.h"
#include "report/ReportTemplates.h"

#include <QShowEvent>


const QString SingerCardWindow::kFailure =
    QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non è andata a buon fine.\n\r\n\r"
                   "Si consiglia di ridurre le dimensioni della foto.");

SingerCardWindow::SingerCardWindow(QWidget *owner, const SingerCard &card, const SingerPhoto::Photo &photo,
                                   const QImage &placeholder, const Design &design)
    : CardPrintWindow(owner, design)
    , repDocumento(report::singerCardTemplate())
    , m_card(card)
    , m_photo(photo)
{
    imgLogo = new PictureBox(panel(), QStringLiteral("imgLogo"), QRect(0, 0, 297, 184));
    imgLogo->hide();
    imgTemp = new PictureBox(panel(), QStringLiteral("imgTemp"), QRect(0, 0, 297, 184));
    imgTemp->setPicture(placeholder);
    imgTemp->hide();
}

void SingerCardWindow::showEvent(QShowEvent *event)
{
    CardPrintWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void SingerCardWindow::FormShow()
{
    // The photo box holds the card's photo or the placeholder. A photo read from a file stays
    // encoded: it is decoded only at the size the page needs.
    if (!imgLogo->setPhoto(m_photo))
        imgLogo->setPicture(imgTemp->picture());
}

void SingerCardWindow::btnStampaClick()
{
    try {
        repDocumento.setOrientation(QPageLayout::Portrait);
        // The engine gets the photo at what the page needs, not at the camera's size.
        const QSizeF box = repDocumento.object(QStringLiteral("imgLogo")).rect.size();
        const QImage photo = imgLogo->photo().fitted(report::pixelsForBox(box));
        if (photo.isNull())
            throw report::ReportError("Foto non decodificabile");
        repDocumento.setPicture(QStringLiteral("imgLogo"), photo);
        // The layout says which fields the card prints and where.
        for (const FieldInfo &f : SingerCard::fields())
            if (repDocumento.findObject(QString::fromLatin1(f.control)))
                repDocumento.setText(QString::fromLatin1(f.control), ctrim(m_card.text(f.field)));
        handOver(report::prepareReport(repDocumento));
    } catch (const report::ReportError &) {
        desktop().warning(kFailure);
    } catch (const std::bad_alloc &) {
        // A photo too large for memory: the warning suggests a smaller one.
        desktop().warning(kFailure);
    }
    accept();
}
