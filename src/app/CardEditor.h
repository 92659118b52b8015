#pragma once

#include "app/CardAttachments.h"

#include "app/Desktop.h"
#include "app/Windows.h"

#include <QList>

#include <array>

#include <functional>
#include <utility>
#include <vector>

class ClickPicture;
class QLabel;
class QLineEdit;

namespace Fields
{
class HintLine;
}

// What the song editor and the singer editor have in common: one card of an archive of
// fixed-size records at a time; a session saying which archive, which card and which
// attachments; the card as it was loaded, to tell whether the card shown changed; the tool bar
// commands that browse, save and duplicate; the hint line. An editor states only what is its
// own: its archive and record codec, its fields, what Save requires and how it reports a
// failure, and what comes with a card besides its record (the singer's photo).
//
// The hidden labels lblPosizione and lblFile01...lblDesc03 show the session; they are written
// from it and never read back.
class CardEditor : public WorkWindow
{
    Q_OBJECT
public:
    // Handlers of the commands both editors share.
    void cmdNuovoClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdSalvaClick();
    void cmdDuplicaClick();
    void cmdEsciClick();
    // Reads the card at `position` and shows it, as navigation does; a window that hands back
    // a picked position (the statistics) opens its card this way.
    void showStoredCard(qint64 position);

    // What the editor works on besides the fields shown.
    struct Session {
        QString archive;         // the archive file (the song editor's collection)
        qint64 position = 0;     // 1-based position of the card shown; 0 for a card not yet stored
        Attachments attachments; // the card's three attached files and their descriptions
        enum class Opener { None, Launcher, CollectionList } openedBy = Opener::None;
    };
    const Session &session() const { return m_session; }
    // True when the card shown differs from the card as it was read from the archive, stored,
    // or emptied for a new card: a new card counts as unchanged until the user types.
    bool cardChanged() const;

    // Why the card shown is about to give way to another (or the editor to close).
    enum class Leave { Navigate, New, Duplicate, OpenStored, Close };
    // Controls both editors have, named as their design names them.
    ClickPicture *cmdNuovo = nullptr, *cmdDuplica = nullptr, *cmdSalva = nullptr, *cmdTrova = nullptr,
                 *cmdFile = nullptr, *cmdAnteprima = nullptr, *cmdStampa = nullptr, *cmdPrimo = nullptr,
                 *cmdIndietro = nullptr, *cmdAvanti = nullptr, *cmdUltimo = nullptr, *cmdEsporta = nullptr,
                 *cmdGuida = nullptr, *cmdEsci = nullptr;
    QLabel *panInfo = nullptr;

    static const QString kReady;

    // What the position between the arrows reads: "12\ndi 340", or "Nuova\n(340)" for a card
    // not yet stored.
    static QString positionText(qint64 position, qint64 count);

signals:
    // The card shown was just stored at `position` (a save of the editor).
    void cardStored(qint64 position);

protected:
    CardEditor(const QString &name, const QString &title, const QSize &panel);

    // --- what an editor states about itself ------------------------------------------------
    // The archive worked on: the session's, unless the editor has a fixed one.
    virtual QString archivePath() const { return m_session.archive; }
    void setArchive(const QString &path, Session::Opener openedBy);
    virtual int recordSize() const = 0;
    // Decodes a record read at `position` and puts it into the controls (showCard).
    virtual void showRecord(const QByteArray &record, qint64 position) = 0;
    // The record built from the controls as they are now.
    virtual QByteArray recordShown() const = 0;
    // What the card shows besides its record and counts as a change of it (the singer's
    // photo); empty when there is nothing.
    virtual QByteArray shownBesidesRecord() const { return QByteArray(); }
    // Empties the fields for a new card: on show and on cmdNuovo. The session's position and
    // attachments are emptied by the caller.
    virtual void clearCard() = 0;
    // The fields Save requires, in the order it checks them, each with its warning.
    virtual QList<std::pair<QLineEdit *, QString>> requiredFields() const = 0;
    // The message kind in which a failed save reports the access error.
    virtual Desktop::Kind saveFailureKind() const = 0;
    // Work that goes with a card just stored at `position`; returns a warning to show after
    // the confirmation, or an empty text.
    virtual QString afterStore(qint64 position);
    // What a copy leaves behind besides its attachments and position.
    virtual void leaveBehindOnCopy() {}
    // The field that takes the focus on a new card and on a copy.
    virtual QWidget *firstField() const = 0;

    // --- building blocks -----------------------------------------------------------------
    // The information bar with the hint line on it; returns the bar. Call it after the
    // shapes that lie behind the bar and before the commands.
    QWidget *infoBar(const QRect &bar);
    Fields::HintLine *hints() const { return m_hints; }

    // One tool bar or card command: a picture with a hand cursor and its hint. An empty hint
    // takes the one both editors give to a command of that name.
    struct Command {
        ClickPicture **control;
        const char *name;
        const char *art; // file name under the editor's resource folder, without ".svg"
        QRect place;
        std::function<void()> handler; // may be empty: a command whose window is still to come
        QString hint = QString();
    };
    void buildCommands(const QString &artFolder, const std::vector<Command> &commands);
    // A one-line card field "txt" + `field` at (x, top), 22 high, in Verdana 12 bold with the
    // field highlight, taking at most `capacity` characters; its caption (when not empty)
    // stands 18 above it.
    QLineEdit *cardField(const QString &field, int x, int top, int width, int capacity,
                         const QString &caption);
    // The caption "lbl" + `field` of a field whose top is `top`: Verdana of the default size,
    // 18 above the field.
    QLabel *fieldCaption(const QString &field, const QString &text, int x, int top);
    // The position between the arrows, in Verdana bold; `withCount` shows the number of cards
    // under it.
    void placePosition(const QRect &place, bool withCount = false);
    // Tab order along `order`.
    void chainTabOrder(const QList<QWidget *> &order);
    // Puts every one-line field back at the start of its text, as a card is read from its
    // first word; setting a text leaves the field scrolled to its end.
    void showFieldsFromStart();
    // The session's position: lblPosizione shows it, empty for 0.
    void setPosition(qint64 position);
    // Text `index` (0 to 5) of the attachments in record order: File01 to File03, Desc01 to
    // Desc03, as the field tables list them.
    QString attachmentText(int index) const;
    void setAttachmentText(int index, const QString &text);
    // The card as shown now becomes the card compared against (after a load, a save, a clear).
    void takeAsLoaded();
    // A new empty card: the fields cleared, no position, no attachments.
    void newCard();
    // After the editor itself changed the archive (a card deleted or put back): shows the card
    // now at `position`, or a new card for 0, without asking about the card shown. Throws
    // FileError.
    void showAfterArchiveChange(qint64 position);

    // The one place every move away from the card shown goes through (all navigation, Nuovo,
    // Duplica, a card picked in a list or a chart, Esci and closing the window). Returns false
    // to stay on the card. This is where the editor can ask whether the changes should be
    // saved (cardChanged()): Salva saves with the usual checks and goes on only when the card
    // was stored, Non salvare drops the changes, Annulla stays.
    bool mayLeaveCard(Leave why);
    // Save with its checks and messages; true when the card was stored.
    bool saveCard();

public:
    // The session's attachments, as the attachments window takes them, and its hand-back.
    Attachments attachments() const { return m_session.attachments; }
    void setAttachments(const Attachments &values);
    // Reads the card at `position` afresh and shows it, as a list window's opener does. Throws
    // FileError; the card shown stays as it was then.
    void openCard(qint64 position);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Move { First, Previous, Next, Last };
    void navigate(Move move);
    // Shows a record just read and takes it as the card loaded.
    void loadRecord(const QByteArray &record, qint64 position);
    void FormShow();

    Session m_session;
    QByteArray m_loaded; // the record of the card as shown when it was loaded, stored or emptied
    QLabel *m_lblPosizione = nullptr;
    QLabel *m_lblScheda = nullptr;
    std::array<QLabel *, 6> m_attachmentLabels{};
    Fields::HintLine *m_hints = nullptr;
    QObject *m_keyFilter = nullptr;
};
