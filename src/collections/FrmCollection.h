#pragma once

#include "app/CardEditor.h"
#include "records/SongCard.h"

#include <array>
#include <optional>

class ClickPicture;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
struct FieldInfo;
class FrmElenco;
class TableCompanion;

// The song card editor: one card of the open collection at a time. Its fields are built,
// chained, loaded, saved and cleared by walking the song card's field table.
class FrmCollection : public CardEditor
{
    Q_OBJECT
public:
    FrmCollection();
    // Sets lblFile and the collection name shown in the title bar.
    void openCollection(const QString &path, const QString &name);

    // The card as the controls hold it, flag "Sì" or "No"; texts untrimmed.
    SongCard cardShown() const;

    // The text of a memo with its line breaks as "\n" (non-breaking spaces kept).
    static QString memoText(const QPlainTextEdit *memo);
    // The length a memo text takes in the file, where a line break is CR LF.
    static qsizetype storedLength(const QString &text);
    // What the line beside a memo says about its room: "4.870 di 5.000 caratteri" from nine
    // tenths of the capacity on, empty before.
    static QString roomText(qsizetype used, int capacity);
    // The question before a paste of `pasted` characters into a memo with `room` left.
    static QString pasteCutQuestion(qsizetype room, qsizetype pasted);
    // True for an address the desktop may be given: http or https with a host.
    static bool isWebAddress(const QString &address);

    // The collection's name in the title bar.
    QString collectionName() const;

    // The table view of the collection (Ctrl+L): opened, or brought forward.
    void showTable();
    // The open table view, or null.
    FrmElenco *table() const;
    // The songbook window on the collection; `positions` are the cards a table view chose.
    void openSongbook(const QList<qint64> &positions);

    ClickPicture *cmdElenco = nullptr, *cmdCanzoniere = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

    int recordSize() const override;
    void showRecord(const QByteArray &record, qint64 position) override;
    QByteArray recordShown() const override;
    void clearCard() override;
    QList<std::pair<QLineEdit *, QString>> requiredFields() const override;
    Desktop::Kind saveFailureKind() const override;
    QWidget *firstField() const override;

private:
    // Puts a stored card into the window: texts, flag rule, attachments and position.
    void showCard(const SongCard &card, qint64 position);
    void buildToolBar();
    void buildCard(QWidget *p);
    // The controls of the fields the table places, built, chained and named as it says.
    void buildFields(QWidget *p);
    QLineEdit *lineOf(int field) const;
    // A field's text as its control shows it, and the other way round.
    QString shownText(const FieldInfo &f) const;
    void showText(const FieldInfo &f, const QString &text);

    // Takes the card shown out of the collection, after a question and a backup of the file;
    // the later cards move up one position. cmdAnnullaElimina puts it back at its place.
    void cmdEliminaClick();
    void cmdAnnullaEliminaClick();
    void forgetDeleted();
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

    // The control of each field the table places; null for the attachments, kept in the session.
    std::array<QWidget *, SongCard::FieldCount> m_controls{};
    TableCompanion *m_table = nullptr;
    QLabel *lblNome = nullptr;
    QLabel *lblFile = nullptr;
    ClickPicture *cmdSegnala = nullptr, *cmdImportaBrani = nullptr, *cmdStatistiche = nullptr;
    ClickPicture *cmdElimina = nullptr, *cmdAnnullaElimina = nullptr;
    // The card last deleted, while it can still be put back.
    struct Deleted {
        QString archive;
        qint64 position = 0;
        QByteArray record;
    };
    std::optional<Deleted> m_deleted;
    ClickPicture *impCantante = nullptr, *btnSito = nullptr, *icoCD = nullptr, *icoSegnala = nullptr;
};
