#pragma once

#include "app/Windows.h"

#include <QList>

class ClickPicture;
class PictureBox;
class QLabel;
class QLineEdit;
class SingerCard;

// The singer card editor: one card of Archivio_Cantanti.pro at a time, held only in its
// controls until the user saves.
class FrmAnagrafica : public WorkWindow
{
    Q_OBJECT
public:
    FrmAnagrafica();

    // Fills the 26 fields, the attachment labels and the position, then loads the card's
    // photo. Used by navigation and by the windows that pick a card.
    void showCard(const SingerCard &card, qint64 position);
    // The card the controls hold now (texts as typed).
    SingerCard card() const;
    // The 26 edit fields in tab and Enter order.
    const QList<QLineEdit *> &fields() const { return m_fields; }

    // Handlers.
    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdSalvaClick();
    void cmdTrovaClick();
    void cmdFileClick();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdEsportaClick();
    void cmdSlideshowClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void btnCaricaFotoClick();
    void btnSalvaFotoClick();
    void btnCancFotoClick();
    void btnZoomFotoClick();
    void btnFilmografiaClick();

    static QString helpText();

    // Controls named as the window's design names them.
    ClickPicture *cmdNuovo = nullptr, *cmdDuplica = nullptr, *cmdSalva = nullptr, *cmdTrova = nullptr,
                 *cmdFile = nullptr, *cmdAnteprima = nullptr, *cmdStampa = nullptr, *cmdPrimo = nullptr,
                 *cmdIndietro = nullptr, *cmdAvanti = nullptr, *cmdUltimo = nullptr, *cmdEsporta = nullptr,
                 *cmdSlideshow = nullptr, *cmdGuida = nullptr, *cmdEsci = nullptr;
    ClickPicture *btnCaricaFoto = nullptr, *btnSalvaFoto = nullptr, *btnCancFoto = nullptr,
                 *btnZoomFoto = nullptr, *btnFilmografia = nullptr;
    PictureBox *imgFoto = nullptr;
    PictureBox *imgBianco = nullptr;
    QLabel *lblPosizione = nullptr;
    QLabel *panInfo = nullptr;
    QLabel *lblFile01 = nullptr, *lblFile02 = nullptr, *lblFile03 = nullptr;
    QLabel *lblDesc01 = nullptr, *lblDesc02 = nullptr, *lblDesc03 = nullptr;
    QLineEdit *txtNome = nullptr, *txtSesso = nullptr, *txtDataNasc = nullptr, *txtCittadinanza = nullptr,
              *txtLuogoNasc = nullptr, *txtIndirizzo = nullptr, *txtCodFisc = nullptr, *txtEstremi = nullptr,
              *txtEmail = nullptr, *txtTel = nullptr, *txtCellulare = nullptr, *txtStudio = nullptr,
              *txtLingue = nullptr, *txtPartitaIva = nullptr, *txtIban = nullptr, *txtAltezza = nullptr,
              *txtPeso = nullptr, *txtOcchi = nullptr, *txtCapelli = nullptr, *txtVita = nullptr,
              *txtFianchi = nullptr, *txtTaglia = nullptr, *txtScarpe = nullptr, *txtEsperienze = nullptr,
              *txtDisponibilita = nullptr, *txtNote = nullptr;

protected:
    // FormShow: the editor always opens on an empty new card.
    void showEvent(QShowEvent *event) override;

private:
    void buildToolBar();
    void buildCardArea();
    void clearCard();
    void loadPhoto();
    bool savePhoto();
    void txtSessoTyping(const QString &typed);
    QList<QLabel *> attachmentLabels() const;

    QList<QLineEdit *> m_fields;
    QList<int> m_recordField; // record field of each edit field, in the same order
};
