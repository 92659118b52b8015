#include "app/FrmInfo.h"

#include "app/Artwork.h"
#include "app/Desktop.h"
#include "app/Look.h"
#include "app/Maker.h"
#include "app/TextLink.h"
#include "app/Widgets.h"
#include "core/ProgramFolder.h"

#include <QDir>

#include <QLabel>
#include <QPushButton>

namespace {

// A long path wraps after any separator instead of running out of the panel.
QString dataFolderHtml()
{
    QString html = QDir::toNativeSeparators(ProgramFolder::path()).toHtmlEscaped();
    html.replace(QDir::separator(), QString(QDir::separator()) + QStringLiteral("&#8203;"));
    return html;
}

} // namespace

FrmInfo::FrmInfo(QWidget *owner)
    : FixedDialog(owner, QStringLiteral("frmInfo"), QStringLiteral(" Informazioni su Cantorium"),
                  QSize(473, 579), Qt::black, Qt::white, QSize(442, 490))
{
    QWidget *p = panel();
    p->move(15, 15);
    shpSfondo = shape(p, QStringLiteral("shpSfondo"), QRect(8, 8, 425, 72), Qt::white, QColor());
    imgLogo =
        new Artwork(p, QStringLiteral("imgLogo"), QStringLiteral(":/app/logo.svg"), QRect(24, 16, 392, 54));

    // What the window is about: the product, its purpose, its maker and where to write.
    shape(p, QStringLiteral("shpDettagli"), QRect(8, 96, 425, 380), Look::kWhiteVeil,
          Look::kPaleSteel);
    lblDettagli = new QLabel(p);
    lblDettagli->setObjectName(QStringLiteral("lblDettagli"));
    lblDettagli->setGeometry(24, 112, 393, 348);
    lblDettagli->setWordWrap(true);
    lblDettagli->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    lblDettagli->setTextFormat(Qt::RichText);
    // Sizes in points, set as pixels like every other font of the program.
    const QString heading = QString::number(Look::pixels(15));
    const QString body = QString::number(Look::pixels(9));
    const QString purpose = QString::number(Look::pixels(10));
    lblDettagli->setText(
        QStringLiteral(
            "<p style='font-family:Verdana; font-size:%5px; font-weight:bold; color:%8'>%1</p>"
            "<p style='font-family:Verdana; font-size:%6px; color:%10'>Versione %2</p>"
            "<p style='font-family:Verdana; font-size:%7px; color:%10'>Software per catalogare collection "
            "musicali ed archiviare le schede biografiche degli artisti complete di foto e di repertorio "
            "discografico.</p>"
            "<p style='font-family:Verdana; font-size:%6px; color:%10'>&copy; %3<br>%4</p>"
            "<p style='font-family:Verdana; font-size:%6px; color:%10'>Gli archivi si trovano nella "
            "cartella<br><b>%9</b></p>"
            "<p style='font-family:Verdana; font-size:%6px; color:%10'>Per informazioni e assistenza "
            "fai clic sull'indirizzo di posta elettronica qui sotto.</p>")
            .arg(QString::fromLatin1(Maker::kProduct), QString::fromLatin1(Maker::kVersion),
                 QString::fromLatin1(Maker::kName), QString::fromLatin1(Maker::kWebAddress), heading, body,
                 purpose, Look::kInk.name(), dataFolderHtml(), Look::kSoftInk.name()));

    // The button and the link sit below the panel, on the window itself.
    btnChiudi = pushButton(this, QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"),
                           QRect(p->x() + 280, p->y() + 504, 161, 41), Look::uiFont(12));
    connect(btnChiudi, &QPushButton::clicked, this, [this] { guarded([this] { btnChiudiClick(); }); });

    imgEmail = new ClickPicture(this, QStringLiteral("imgEmail"), QStringLiteral(":/app/envelope.svg"),
                                QRect(15, 531, 23, 16));
    lnkWeb = new TextLink(this, QStringLiteral("lnkWeb"), QString::fromLatin1(Maker::kSupportEmail),
                          QPoint(46, 528));
    lnkWeb->attach(imgEmail);
    connect(lnkWeb, &TextLink::clicked, this, [this] { guarded([this] { lnkWebClick(); }); });
}

QString FrmInfo::mailCommand()
{
    // Joined as they are: the shell hands the blanks on to the mail program unencoded.
    const QString link =
        QStringLiteral("mailto:") + QString::fromLatin1(Maker::kSupportEmail) + QStringLiteral("?subject=") +
        QStringLiteral("Software Cantorium") + QStringLiteral("&body=") +
        QStringLiteral("Salve, desidererei avere le seguenti informazioni sul software in oggetto:");
    return QLatin1Char('"') + link + QLatin1Char('"');
}

void FrmInfo::lnkWebClick()
{
    lnkWeb->setColour(TextLink::kNormal);
    desktop().open(mailCommand());
}

void FrmInfo::btnChiudiClick()
{
    accept();
}
