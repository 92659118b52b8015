#include "singers/FrmSlideshow_Anagrafica.h"

#include "app/ArchiveMessages.h"
#include "app/Desktop.h"
#include "app/Widgets.h"
#include "core/RecordFile.h"
#include "app/PictureBox.h"
#include "records/SingerCard.h"
#include "records/SingerPhoto.h"

#include <QHideEvent>
#include <QShowEvent>
#include <QTimer>

namespace
{
const QString &kEmptyArchive = ArchiveMessages::kEmpty;
const QString &kAccessError = ArchiveMessages::kNoAccess;
} // namespace

FrmSlideshow_Anagrafica::FrmSlideshow_Anagrafica(QWidget *owner)
    : PhotoWindow(owner, QStringLiteral("frmSlideshow_Anagrafica"), QStringLiteral(" Slide show cantanti"))
{
    imgBianco = new PictureBox(this, QStringLiteral("imgBianco"), QRect(0, 0, 689, 529));
    imgBianco->setPicture(SingerPhoto::slideshowStart());
    imgBianco->hide();
    lblPosizione = stateLabel(this, QStringLiteral("lblPosizione"));
    cmdAvanti = new ClickPicture(this, QStringLiteral("cmdAvanti"), QString(), QRect(0, 0, 37, 39));
    cmdAvanti->hide();
    nameAfter(cmdAvanti, QStringLiteral("Foto successiva"));
    connect(cmdAvanti, &ClickPicture::clicked, this, &FrmSlideshow_Anagrafica::cmdAvantiClick);

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(kInterval);
    connect(Timer, &QTimer::timeout, this, &FrmSlideshow_Anagrafica::cmdAvantiClick);
}

void FrmSlideshow_Anagrafica::showEvent(QShowEvent *event)
{
    PhotoWindow::showEvent(event);
    if (!event->spontaneous()) {
        imgFoto->setPicture(imgBianco->picture());
        Timer->start();
        // The first photo comes as soon as the window is on screen, not after a whole interval.
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                cmdAvantiClick();
        });
    }
}

void FrmSlideshow_Anagrafica::hideEvent(QHideEvent *event)
{
    // However the window goes (a click, its close button, Esc), the show ends with it.
    Timer->stop();
    PhotoWindow::hideEvent(event);
}

void FrmSlideshow_Anagrafica::cmdAvantiClick()
{
    // A tick that arrives while a message of the previous one is still open is skipped,
    // so an unreachable archive never piles up error messages.
    if (m_busy)
        return;
    m_busy = true;
    guarded([this] { step(); });
    m_busy = false;
}

void FrmSlideshow_Anagrafica::step()
{
    qint64 count = 0;
    qint64 current = 0;
    try {
        RecordFile archive(SingerArchive::path(), SingerCard::kSize);
        if (stateOf(lblPosizione).isEmpty())
            lblPosizione->setText(QStringLiteral("0"));
        bool number = false;
        current = stateOf(lblPosizione).toLongLong(&number);
        if (!number)
            throw FileError(QStringLiteral("posizione non valida"));
        count = archive.count();
        if (count == 0)
            lblPosizione->clear();
        else if (current < count)
            lblPosizione->setText(QString::number(current + 1));
        else
            lblPosizione->setText(QStringLiteral("0"));
    } catch (const FileError &) {
        desktop().error(kAccessError);
        return;
    }

    if (count == 0) {
        Timer->stop();
        desktop().information(kEmptyArchive);
        close();
        return;
    }
    if (current < count) {
        const QString position = QString::number(current + 1);
        SingerPhoto::ensureFolder();
        // Decoded at the size it is shown: one reduced decode per tick.
        if (!imgFoto->setPhoto(SingerPhoto::Photo::fromFile(SingerPhoto::fileFor(position))))
            imgFoto->setPicture(imgBianco->picture());
    }
}
