#include "output/CardPrintWindow.h"

#include "app/Artwork.h"
#include "app/Desktop.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "report/ReportLayout.h"

#include <QPushButton>

CardPrintWindow::CardPrintWindow(QWidget *owner, const Design &design)
    : FixedDialog(owner, QString::fromLatin1(design.name),
                  design.mode == Mode::Preview ? QStringLiteral(" Anteprima di stampa")
                                               : QStringLiteral(" Stampa scheda"),
                  design.client, design.top, Qt::white, design.client)
    , m_mode(design.mode)
{
    // FormCreate
    setCentreOnOwner(true);

    QWidget *p = panel();
    const bool preview = m_mode == Mode::Preview;
    shpSfondo =
        shape(p, QStringLiteral("shpSfondo"), QRect(18, 18, design.whiteWidth, 215), Qt::white, Qt::white);
    icoInf01 = new Artwork(p, QStringLiteral("icoInf01"),
                           preview ? QStringLiteral(":/output/anteprima_spiegazione.svg")
                                   : QStringLiteral(":/output/stampa_spiegazione.svg"),
                           preview ? QRect(28, 28, 225, 83) : QRect(28, 28, 240, 83));
    imgLogo01 = new Artwork(p, QStringLiteral("imgLogo01"), QStringLiteral(":/output/lettore.svg"),
                            QRect(280, 31, 51, 81));
    shpSepara =
        preview
            ? shape(p, QStringLiteral("shpSepara"), QRect(26, 120, 311, 6), Look::kSteelBlue, Look::kSteelBlue, Qt::white)
            : shape(p, QStringLiteral("shpSepara"), QRect(26, 120, 311, 4), Look::kWorkTop, Look::kWorkTop);
    imgSezione04 = new Artwork(p, QStringLiteral("imgSezione04"),
                               preview ? QStringLiteral(":/output/stampante_lente.svg")
                                       : QStringLiteral(":/output/stampante.svg"),
                               preview ? QRect(30, 140, 66, 69) : QRect(30, 140, 82, 72));
    icoInf02 = new Artwork(p, QStringLiteral("icoInf02"),
                           preview ? QStringLiteral(":/output/anteprima_istruzioni.svg")
                                   : QStringLiteral(":/output/stampa_istruzioni.svg"),
                           preview ? QRect(112, 140, 209, 67) : QRect(122, 140, 206, 71));

    auto button = [&](QPushButton *&b, const QString &name, const QString &text, int left) {
        b = pushButton(p, name, text, QRect(left, 243, design.buttonWidth, 28), Look::uiFont());
    };
    button(btnAnnulla, QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), 18);
    button(btnStampa, QStringLiteral("btnStampa"), QString::fromUtf8(design.confirm), design.confirmLeft);
    connect(btnAnnulla, &QPushButton::clicked, this, [this] { guarded([this] { btnAnnullaClick(); }); });
    closeOnEscape(btnAnnulla);
    connect(btnStampa, &QPushButton::clicked, this, [this] { guarded([this] { btnStampaClick(); }); });
}

void CardPrintWindow::handOver(const report::PreparedReport &laidOut)
{
    if (m_mode == Mode::Preview)
        desktop().previewReport(this, laidOut);
    else
        desktop().printReport(this, laidOut);
}

void CardPrintWindow::btnAnnullaClick()
{
    reject();
}
