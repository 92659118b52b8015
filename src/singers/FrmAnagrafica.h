#pragma once

#include "app/CardEditor.h"

#include <QList>

class ClickPicture;
class FrmElenco;
class TableCompanion;
class PictureBox;
class QLabel;
class QLineEdit;
class SingerCard;

// The singer card editor: one card of Archivio_Cantanti.pro at a time, held only in its
// controls until the user saves.
class FrmAnagrafica : public CardEditor
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

    // Handlers of its own; navigation, save, duplicate, new and exit are CardEditor's.
    void cmdTrovaClick();
    void cmdFileClick();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdEsportaClick();
    void cmdSlideshowClick();
    void cmdStatisticheClick();
    void cmdGuidaClick();
    void btnCaricaFotoClick();
    void btnSalvaFotoClick();
    void btnCancFotoClick();
    void btnZoomFotoClick();
    void btnFilmografiaClick();

    static QString helpText();

    // Controls named as the window's design names them (the shared ones are CardEditor's).
    ClickPicture *cmdSlideshow = nullptr, *cmdStatistiche = nullptr, *cmdElenco = nullptr;

    // The table view of the archive (Ctrl+L): opened, or brought forward.
    void showTable();
    // The open table view, or null.
    FrmElenco *table() const;
    ClickPicture *btnCaricaFoto = nullptr, *btnSalvaFoto = nullptr, *btnCancFoto = nullptr,
                 *btnZoomFoto = nullptr, *btnFilmografia = nullptr;
    PictureBox *imgFoto = nullptr;
    PictureBox *imgBianco = nullptr;
    QLineEdit *txtNome = nullptr, *txtSesso = nullptr, *txtDataNasc = nullptr, *txtCittadinanza = nullptr,
              *txtLuogoNasc = nullptr, *txtIndirizzo = nullptr, *txtCodFisc = nullptr, *txtEstremi = nullptr,
              *txtEmail = nullptr, *txtTel = nullptr, *txtCellulare = nullptr, *txtStudio = nullptr,
              *txtLingue = nullptr, *txtPartitaIva = nullptr, *txtIban = nullptr, *txtAltezza = nullptr,
              *txtPeso = nullptr, *txtOcchi = nullptr, *txtCapelli = nullptr, *txtVita = nullptr,
              *txtFianchi = nullptr, *txtTaglia = nullptr, *txtScarpe = nullptr, *txtEsperienze = nullptr,
              *txtDisponibilita = nullptr, *txtNote = nullptr;

protected:
    QString archivePath() const override;
    int recordSize() const override;
    void showRecord(const QByteArray &record, qint64 position) override;
    QByteArray recordShown() const override;
    QByteArray shownBesidesRecord() const override;
    void clearCard() override;
    QList<std::pair<QLineEdit *, QString>> requiredFields() const override;
    Desktop::Kind saveFailureKind() const override;
    QString afterStore(qint64 position) override;
    void leaveBehindOnCopy() override;
    QWidget *firstField() const override;

private:
    TableCompanion *m_table = nullptr;
    void buildToolBar();
    void buildCardArea();
    void loadPhoto();
    bool savePhoto();
    void txtSessoTyping(const QString &typed);

    QList<QLineEdit *> m_fields;
    QList<int> m_recordField; // record field of each edit field, in the same order
};
