#include "app/FrmGuida.h"

#include "app/Artwork.h"
#include "app/Desktop.h"
#include "app/Look.h"
#include "app/TextLink.h"
#include "app/Widgets.h"
#include "core/ProgramFolder.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {
// The window's size with its frame, whatever its client size was.
const QSize kOuterSize(676, 598);
} // namespace

FrmGuida::FrmGuida(QWidget *owner)
    : FixedDialog(owner, QStringLiteral("frmGuida"), QStringLiteral(" Guida all'utilizzo del software"),
                  QSize(670, 572), Qt::white, Look::kHelpBottom, QSize(642, 540))
{
    QWidget *p = panel();
    shpSfondo = shape(p, QStringLiteral("shpSfondo"), QRect(8, 8, 625, 89), Qt::white, Look::kWheat);
    imgLogo =
        new Artwork(p, QStringLiteral("imgLogo"), QStringLiteral(":/app/logo.svg"), QRect(24, 16, 587, 69));

    lblTitolo = new QLabel(QStringLiteral("Argomento della guida."), p);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setFont(Look::font(QStringLiteral("Arial"), 16, true));
    QPalette titlePalette = lblTitolo->palette();
    titlePalette.setColor(QPalette::WindowText, Look::kCrimson);
    lblTitolo->setPalette(titlePalette);
    lblTitolo->setGeometry(8, 104, 625, 24);

    txtGuida = new QPlainTextEdit(p);
    txtGuida->setObjectName(QStringLiteral("txtGuida"));
    txtGuida->setGeometry(8, 128, 625, 350);
    txtGuida->setReadOnly(true);
    txtGuida->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtGuida->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    txtGuida->setFont(Look::uiFont(12, true));
    // A screen reader names the text after the topic above it, whichever it is.
    lblTitolo->setBuddy(txtGuida);

    imgPDF =
        new ClickPicture(p, QStringLiteral("imgPDF"), QStringLiteral(":/app/pdf.svg"), QRect(8, 496, 27, 27));
    lnkWeb = new TextLink(p, QStringLiteral("lnkWeb"), QStringLiteral("Visualizza guida in formato PDF"),
                          QPoint(44, 500));
    lnkWeb->attach(imgPDF);
    connect(lnkWeb, &TextLink::clicked, this, [this] { guarded([this] { lnkWebClick(); }); });

    btnChiudi = pushButton(p, QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), QRect(472, 490, 161, 38),
                           Look::uiFont());
    connect(btnChiudi, &QPushButton::clicked, this, [this] { guarded([this] { btnChiudiClick(); }); });
}

void FrmGuida::setTopic(const QString &title, const QString &text)
{
    lblTitolo->setText(title);
    m_text = text;
    txtGuida->setPlainText(text);
}

void FrmGuida::showTopic(QWidget *owner, const QString &title, const QString &text)
{
    FrmGuida window(owner);
    window.setTopic(title, text);
    desktop().runModal(&window);
}

QString FrmGuida::joinParagraphs(const QStringList &paragraphs)
{
    return paragraphs.join(QStringLiteral("\r\n\r\n"));
}

void FrmGuida::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    FixedDialog::showEvent(event);
}

void FrmGuida::FormShow()
{
    // The outer size is fixed, frame included: the client area gets what the frame leaves.
    const QSize frame = frameGeometry().size() - geometry().size();
    setFixedSize(kOuterSize - frame);
    panel()->move((width() - panel()->width()) / 2, (height() - panel()->height()) / 2);
}

void FrmGuida::lnkWebClick()
{
    lnkWeb->setColour(TextLink::kNormal);
    desktop().open(QLatin1Char('"') + ProgramFolder::guide() + QLatin1Char('"'));
}

void FrmGuida::btnChiudiClick()
{
    accept();
}
