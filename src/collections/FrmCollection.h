#pragma once

#include "app/Windows.h"

class ClickPicture;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class SongCard;

namespace Fields
{
class HintLine;
}

// The song card editor: one card of the open collection at a time, held only in the
// controls until the user saves it.
class FrmCollection : public WorkWindow
{
    Q_OBJECT
public:
    FrmCollection();
    // Sets lblFile and the collection name shown in the title bar.
    void openCollection(const QString &path, const QString &name);

    // Puts a stored card into the window, as navigation does: texts, flag rule, the six
    // attachment labels and the position. Used by the windows that pick a card.
    void showCard(const SongCard &card, qint64 position);
    // The card as the controls hold it, flag "Sì" or "No"; texts untrimmed.
    SongCard cardShown() const;

    // The text of a memo with its line breaks as "\n" (non-breaking spaces kept).
    static QString memoText(const QPlainTextEdit *memo);
    // The length a memo text takes in the file, where a line break is CR LF.
    static qsizetype storedLength(const QString &text);
    // True for an address the desktop may be given: http or https with a host.
    static bool isWebAddress(const QString &address);

    // Tool bar
    ClickPicture *cmdNuovo = nullptr, *cmdDuplica = nullptr, *cmdSalva = nullptr, *cmdTrova = nullptr;
    ClickPicture *cmdFile = nullptr, *cmdAnteprima = nullptr, *cmdStampa = nullptr;
    ClickPicture *cmdPrimo = nullptr, *cmdIndietro = nullptr, *cmdAvanti = nullptr, *cmdUltimo = nullptr;
    ClickPicture *cmdEsporta = nullptr, *cmdSegnala = nullptr, *cmdGuida = nullptr, *cmdEsci = nullptr;
    QLabel *lblPosizione = nullptr;

    // Card
    QLabel *lblNome = nullptr;
    QLineEdit *txtTitolo = nullptr, *txtCantante = nullptr, *txtAlbum = nullptr, *txtGenere = nullptr;
    QLineEdit *txtAutori = nullptr, *txtNazione = nullptr, *txtAnno = nullptr, *txtPremi = nullptr;
    QLineEdit *txtCasa = nullptr, *txtDurata = nullptr, *txtSito = nullptr, *txtMusica = nullptr,
              *txtNote = nullptr;
    QPlainTextEdit *txtTesto = nullptr, *txtStoria = nullptr;
    QCheckBox *chkSegnala = nullptr;
    ClickPicture *impCantante = nullptr, *btnSito = nullptr;
    ClickPicture *icoCD = nullptr, *icoSegnala = nullptr;
    QLabel *panInfo = nullptr;

    // State
    QLabel *lblFile = nullptr;
    QLabel *lblFile01 = nullptr, *lblFile02 = nullptr, *lblFile03 = nullptr;
    QLabel *lblDesc01 = nullptr, *lblDesc02 = nullptr, *lblDesc03 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildToolBar(QWidget *p, Fields::HintLine *hints);
    void buildCard(QWidget *p, Fields::HintLine *hints);

    void FormShow();
    void clearCard();
    void cmdNuovoClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdSalvaClick();
    void cmdDuplicaClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void btnSitoClick();
    void txtSitoExit();
    void completeAddress();

    QString collectionPath() const;
};
