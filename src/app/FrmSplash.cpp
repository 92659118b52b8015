#include "app/FrmSplash.h"

#include "app/Artwork.h"
#include "app/Desktop.h"
#include "app/Look.h"
#include "app/Maker.h"
#include "app/TextLink.h"
#include "app/Widgets.h"

#include <QPushButton>

FrmSplash::FrmSplash(QWidget *owner)
    : FixedDialog(owner, QStringLiteral("frmSplash"),
                  QStringLiteral(" %1 - %2")
                      .arg(QString::fromLatin1(Maker::kProduct), QString::fromLatin1(Maker::kName)),
                  QSize(661, 467), Qt::white, Look::kSplashBottom, QSize(642, 448))
{
    setCentreOnOwner(true);
    QWidget *p = panel();
    imgLogo =
        new Artwork(p, QStringLiteral("imgLogo"), QStringLiteral(":/app/brand.svg"), QRect(8, 8, 625, 380));

    btnChiudi = pushButton(p, QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), QRect(473, 402, 160, 34));
    connect(btnChiudi, &QPushButton::clicked, this, [this] { guarded([this] { btnChiudiClick(); }); });

    imgWeb = new ClickPicture(p, QStringLiteral("imgWeb"), QStringLiteral(":/app/globe.svg"),
                              QRect(8, 400, 39, 36));
    lnkWeb =
        new TextLink(p, QStringLiteral("lnkWeb"), QString::fromLatin1(Maker::kWebAddress), QPoint(54, 409));
    lnkWeb->attach(imgWeb);
    connect(lnkWeb, &TextLink::clicked, this, [this] { guarded([this] { lnkWebClick(); }); });
}

void FrmSplash::lnkWebClick()
{
    lnkWeb->setColour(TextLink::kNormal);
    desktop().open(QString::fromLatin1(Maker::kWebAddress));
}

void FrmSplash::btnChiudiClick()
{
    accept();
}
