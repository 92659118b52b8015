#include "output/SingerCardWindow.h"

#include "app/Desktop.h"
#include "core/Text.h"
#include "report/ReportLayout.h"
#include "report/ReportTemplates.h"
#include "singers/FrmAnagrafica.h"
#include "singers/PictureBox.h"
#include "singers/SingerPhoto.h"

#include <QLineEdit>
#include <QShowEvent>

namespace
{
// The editor fields that fill the text objects of the same name, in filling order.
const char *const kFields[] = {
    "txtNome",          "txtSesso",      "txtDataNasc", "txtCittadinanza", "txtLuogoNasc", "txtIndirizzo",
    "txtCodFisc",       "txtEstremi",    "txtEmail",    "txtTel",          "txtCellulare", "txtStudio",
    "txtLingue",        "txtPartitaIva", "txtIban",     "txtAltezza",      "txtPeso",      "txtVita",
    "txtFianchi",       "txtOcchi",      "txtCapelli",  "txtTaglia",       "txtScarpe",    "txtEsperienze",
    "txtDisponibilita", "txtNote"};
} // namespace

const QString SingerCardWindow::kFailure =
    QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non è andata a buon fine.\n\r\n\r"
                   "Si consiglia di ridurre le dimensioni della foto.");

SingerCardWindow::SingerCardWindow(FrmAnagrafica *editor, const Design &design)
    : CardPrintWindow(editor, design)
    , repDocumento(report::singerCardTemplate())
    , m_editor(editor)
{
    imgLogo = new PictureBox(panel(), QStringLiteral("imgLogo"), QRect(0, 0, 297, 184));
    imgLogo->hide();
    imgTemp = new PictureBox(panel(), QStringLiteral("imgTemp"), QRect(0, 0, 297, 184));
    imgTemp->setPicture(SingerPhoto::placeholder());
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
    // The photo box holds the card's photo or the editor's placeholder. The copy keeps a photo
    // read from a file encoded: it is decoded only at the size the page needs.
    if (!imgLogo->setPhoto(m_editor->imgFoto->photo()))
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
        for (const char *name : kFields) {
            const QString objectName = QString::fromLatin1(name);
            const auto *field = m_editor->findChild<QLineEdit *>(objectName);
            if (!field)
                throw report::ReportError("Campo " + objectName.toStdString() + " non trovato");
            repDocumento.setText(objectName, ctrim(field->text()));
        }
        handOver(report::prepareReport(repDocumento));
    } catch (const std::exception &) {
        desktop().warning(kFailure);
    } catch (...) {
        desktop().warning(kFailure);
    }
    accept();
}
