#pragma once

#include "app/CardEditor.h"

class ClickPicture;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class SongCard;

// The song card editor: one card of the open collection at a time, held only in the
// controls until the user saves it.
class FrmCollection : public CardEditor
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

    // Tool bar: the shared commands are CardEditor's.
    ClickPicture *cmdSegnala = nullptr, *cmdImportaBrani = nullptr;
    ClickPicture *cmdStatistiche = nullptr;

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

    // State
    QLabel *lblFile = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

    QString archivePath() const override;
    int recordSize() const override;
    void showRecord(const QByteArray &record, qint64 position) override;
    QByteArray recordShown() const override;
    void clearCard() override;
    QList<std::pair<QLineEdit *, QString>> requiredFields() const override;
    Desktop::Kind saveFailureKind() const override;
    QWidget *firstField() const override;

private:
    void buildToolBar();
    void buildCard(QWidget *p);
    // The one-line field of record field `field` at (x, y), as its field table names it.
    QLineEdit *tableField(int field, int x, int y, int width);

    void cmdGuidaClick();
    void cmdFileClick();
    void cmdEsportaClick();
    void cmdStatisticheClick();
    void cmdImportaBraniClick();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void btnSitoClick();
    void txtSitoExit();
    void completeAddress();
    // Takes the stage name of the singer card at `position`.
    void importSinger(qint64 position);
};
