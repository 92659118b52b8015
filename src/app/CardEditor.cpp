#include "app/CardEditor.h"

#include "app/ArchiveMessages.h"
#include "app/ArchiveSave.h"
#include "app/Fields.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "core/RecordFile.h"
#include "core/Text.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QFileInfo>
#include <QLocale>
#include <QShortcut>
#include <QShowEvent>
#include <QTextDocument>

namespace
{

const QString kNotStored = QStringLiteral("Attenzione: la duplicazione di una scheda può avvenire soltanto "
                                          "dopo che questa è stata inserita in archivio.");
const QString kDuplicated = QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda "
                                           "corrente.\n\r\n\rAl termine premere Salva per inserire la "
                                           "scheda in archivio.");

// The hints of the commands both editors have.
const std::pair<const char *, const char *> kSharedHints[] = {
    {"cmdNuovo", "Prepara la schermata per l'inserimento di una nuova scheda."},
    {"cmdDuplica", "Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti."},
    {"cmdSalva", "Salva la scheda in archivio."},
    {"cmdTrova", "Trova una scheda in archivio."},
    {"cmdFile", "Allega file alla scheda."},
    {"cmdAnteprima", "Visualizza l'anteprima di stampa della scheda."},
    {"cmdStampa", "Stampa la scheda."},
    {"cmdPrimo", "Visualizza la prima scheda in archivio."},
    {"cmdIndietro", "Visualizza la scheda precedente in archivio."},
    {"cmdAvanti", "Visualizza la scheda successiva in archivio."},
    {"cmdUltimo", "Visualizza l'ultima scheda in archivio."},
    {"cmdEsporta", "Esporta le schede in archivio in un file di Microsoft Excel."},
    {"cmdGuida", "Visualizza la pagina della guida sensibile al contesto."},
    {"cmdEsci", "Esci da questa schermata di lavoro."},
    {"cmdElenco", "Visualizza l'elenco di tutte le schede, con la ricerca mentre si scrive."},
};

QString sharedHint(const char *name)
{
    for (const auto &[command, hint] : kSharedHints)
        if (qstrcmp(command, name) == 0)
            return QString::fromUtf8(hint);
    return QString();
}

// Keys that run a command of the editor from anywhere in it, through the command's own
// handler (the same checks and questions as a click). `keys` is what the hint line and the
// tool tip show. The page and document keys belong to a memo while it has the focus: there
// they scroll the text being written, which a move to another card would silently drop.
// A field with typing of its own to undo keeps the undo key (`undoKeeps`) for it.
struct CommandKey {
    const char *command;
    QKeyCombination key;
    const char *keys;
    bool memoKeeps;
    bool undoKeeps = false;
};
const CommandKey kCommandKeys[] = {
    {"cmdSalva", Qt::CTRL | Qt::Key_S, "Ctrl+S", false},
    {"cmdNuovo", Qt::CTRL | Qt::Key_N, "Ctrl+N", false},
    {"cmdDuplica", Qt::CTRL | Qt::Key_D, "Ctrl+D", false},
    {"cmdTrova", Qt::CTRL | Qt::Key_F, "Ctrl+F", false},
    {"cmdStampa", Qt::CTRL | Qt::Key_P, "Ctrl+P", false},
    {"cmdEsporta", Qt::CTRL | Qt::Key_E, "Ctrl+E", false},
    {"cmdIndietro", QKeyCombination(Qt::Key_PageUp), "PgUp", true},
    {"cmdAvanti", QKeyCombination(Qt::Key_PageDown), "PgDn", true},
    {"cmdPrimo", Qt::CTRL | Qt::Key_Home, "Ctrl+Home", true},
    {"cmdUltimo", Qt::CTRL | Qt::Key_End, "Ctrl+End", true},
    {"cmdGuida", QKeyCombination(Qt::Key_F1), "F1", false},
    {"cmdElimina", Qt::CTRL | Qt::Key_Delete, "Ctrl+Canc", false},
    {"cmdAnnullaElimina", Qt::CTRL | Qt::Key_Z, "Ctrl+Z", false, true},
    {"cmdElenco", Qt::CTRL | Qt::Key_L, "Ctrl+L", false},
};

bool hasTypingToUndo(QObject *field)
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        return line->isUndoAvailable();
    if (auto *memo = qobject_cast<QPlainTextEdit *>(field))
        return memo->document()->isUndoAvailable();
    return false;
}

const CommandKey *commandKey(const char *command)
{
    for (const CommandKey &k : kCommandKeys)
        if (qstrcmp(k.command, command) == 0)
            return &k;
    return nullptr;
}

// Sits on the editor's fields: a field that has a use of its own for a command key (Ctrl+E
// ends the line on X11 desktops) lets the editor's command have it instead, except the keys a
// memo keeps.
class CommandKeyFilter : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        // The keypad's page keys count as the page keys, as they do for the shortcuts.
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeyCombination pressed(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key()));
        for (const CommandKey &k : kCommandKeys) {
            if (k.key != pressed)
                continue;
            if ((k.memoKeeps && qobject_cast<QPlainTextEdit *>(watched)) ||
                (k.undoKeeps && hasTypingToUndo(watched)))
                event->accept(); // the field takes the key
            else
                event->ignore(); // the command takes it
            return true;
        }
        return false;
    }
};

} // namespace

const QString CardEditor::kReady = QStringLiteral("Pronto per archiviare una nuova scheda...");

CardEditor::CardEditor(const QString &name, const QString &title, const QSize &panel)
    : WorkWindow(name, title, Look::kWorkTop, panel)
{
    QWidget *p = this->panel();
    const char *const names[] = {"lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02", "lblDesc03"};
    for (size_t i = 0; i < m_attachmentLabels.size(); ++i)
        m_attachmentLabels[i] = stateLabel(p, QString::fromLatin1(names[i]));
}

void CardEditor::setArchive(const QString &path, Session::Opener openedBy)
{
    m_session.archive = ctrim(path);
    m_session.openedBy = openedBy;
}

void CardEditor::setPosition(qint64 position)
{
    m_session.position = position;
    m_lblPosizione->setText(position > 0 ? QString::number(position) : QString());
    if (m_lblScheda) {
        // The count is the file's length now: another copy of the program may have added cards.
        const qint64 count = qMax<qint64>(0, QFileInfo(archivePath()).size() / recordSize());
        m_lblScheda->setText(positionText(position, count));
    }
}

QString CardEditor::positionText(qint64 position, qint64 count)
{
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    if (position > 0)
        return QStringLiteral("%1\ndi %2").arg(italian.toString(position), italian.toString(qMax(count, position)));
    return count > 0 ? QStringLiteral("Nuova\n(%1)").arg(italian.toString(count)) : QStringLiteral("Nuova");
}

QString CardEditor::attachmentText(int index) const
{
    const Attachments &a = m_session.attachments;
    return index < 3 ? a.file.at(size_t(index)) : a.desc.at(size_t(index - 3));
}

void CardEditor::setAttachmentText(int index, const QString &text)
{
    Attachments &a = m_session.attachments;
    (index < 3 ? a.file.at(size_t(index)) : a.desc.at(size_t(index - 3))) = text;
    m_attachmentLabels.at(size_t(index))->setText(text);
}

void CardEditor::takeAsLoaded()
{
    m_loaded = recordShown() + shownBesidesRecord();
}

bool CardEditor::cardChanged() const
{
    return recordShown() + shownBesidesRecord() != m_loaded;
}

void CardEditor::newCard()
{
    clearCard();
    setAttachments({});
    setPosition(0);
    takeAsLoaded();
}

bool CardEditor::mayLeaveCard(Leave)
{
    if (!cardChanged())
        return true;
    switch (desktop().askSave(ArchiveMessages::kSaveChanges)) {
    case Desktop::SaveChoice::Save:
        // A save that fails or is refused by its checks keeps the card on screen.
        return saveCard();
    case Desktop::SaveChoice::DontSave:
        return true;
    case Desktop::SaveChoice::Cancel:
        break;
    }
    return false;
}

QWidget *CardEditor::infoBar(const QRect &bar)
{
    QWidget *p = panel();
    QWidget *shpInfo = shape(p, QStringLiteral("shpInfo"), bar, Look::kInfoBar, QColor());
    panInfo = new QLabel(kReady, p);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    // One line, 6 units from the bar's left edge, centred in its height.
    panInfo->setGeometry(bar.x() + 6, bar.y(), bar.width() - 12, bar.height());
    panInfo->setFont(Look::font(QStringLiteral("Tahoma"), 12));
    panInfo->setTextFormat(Qt::PlainText);
    QPalette palette = panInfo->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    panInfo->setPalette(palette);
    m_hints = new Fields::HintLine(panInfo);
    return shpInfo;
}

void CardEditor::buildCommands(const QString &artFolder, const std::vector<Command> &commands)
{
    for (const Command &c : commands) {
        auto *picture =
            new ClickPicture(panel(), QString::fromLatin1(c.name),
                             artFolder + QString::fromLatin1(c.art) + QStringLiteral(".svg"), c.place);
        *c.control = picture;
        const QString hint = c.hint.isEmpty() ? sharedHint(c.name) : c.hint;
        if (const CommandKey *key = commandKey(c.name)) {
            const QString keys = QString::fromUtf8(key->keys);
            m_hints->command(picture, hint, keys);
            picture->setProperty(ClickPicture::kShortcutProperty, keys);
            auto *shortcut = new QShortcut(QKeySequence(key->key), this);
            shortcut->setObjectName(QStringLiteral("key") + QString::fromLatin1(c.name));
            connect(shortcut, &QShortcut::activated, picture, [picture] { emit picture->clicked(); });
        } else {
            m_hints->command(picture, hint);
        }
        if (c.handler)
            connect(picture, &ClickPicture::clicked, this, [handler = c.handler] { guarded(handler); });
    }
}

QLineEdit *CardEditor::cardField(const QString &field, int x, int top, int width, int capacity,
                                 const QString &caption)
{
    QLabel *label = caption.isEmpty() ? nullptr : fieldCaption(field, caption, x, top);
    auto *edit = new QLineEdit(panel());
    if (label)
        nameAfter(edit, caption, label);
    edit->setObjectName(QStringLiteral("txt") + field);
    edit->setGeometry(x, top, width, 22);
    edit->setFont(Look::uiFont(12, true));
    edit->setTextMargins(2, 0, 2, 0);
    edit->setMaxLength(capacity);
    Fields::backgroundHighlight(edit);
    return edit;
}

QLabel *CardEditor::fieldCaption(const QString &field, const QString &text, int x, int top)
{
    return caption(panel(), QStringLiteral("lbl") + field, text, QPoint(x, top - 18));
}

void CardEditor::placePosition(const QRect &place, bool withCount)
{
    m_lblPosizione = stateLabel(panel(), QStringLiteral("lblPosizione"));
    m_lblPosizione->setGeometry(place);
    m_lblPosizione->setAlignment(Qt::AlignCenter);
    m_lblPosizione->setFont(Look::uiFont(Look::kDefaultPoints, true));
    if (!withCount) {
        m_lblPosizione->show();
        return;
    }
    // The position and the count, on two lines between the arrows; lblPosizione stays the
    // hidden state label.
    m_lblScheda = new QLabel(panel());
    m_lblScheda->setObjectName(QStringLiteral("lblScheda"));
    m_lblScheda->setTextFormat(Qt::PlainText);
    m_lblScheda->setGeometry(place.x(), place.y() - 8, place.width(), place.height() + 16);
    m_lblScheda->setAlignment(Qt::AlignCenter);
    m_lblScheda->setFont(Look::uiFont(7, true));
    m_lblScheda->setText(positionText(0, 0));
}

void CardEditor::chainTabOrder(const QList<QWidget *> &order)
{
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order.at(i), order.at(i + 1));
}

void CardEditor::showFieldsFromStart()
{
    for (QLineEdit *field : panel()->findChildren<QLineEdit *>())
        field->setCursorPosition(0);
}

void CardEditor::setAttachments(const Attachments &values)
{
    for (int i = 0; i < 3; ++i) {
        setAttachmentText(i, values.file.at(size_t(i)));
        setAttachmentText(3 + i, values.desc.at(size_t(i)));
    }
}

QString CardEditor::afterStore(qint64)
{
    return QString();
}

void CardEditor::showEvent(QShowEvent *event)
{
    // Every field, however late it was made, hands the command keys to the editor.
    if (!m_keyFilter)
        m_keyFilter = new CommandKeyFilter(this);
    for (QWidget *control : findChildren<QWidget *>())
        if (control->focusPolicy() != Qt::NoFocus)
            control->installEventFilter(m_keyFilter);
    WorkWindow::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void CardEditor::FormShow()
{
    // The editor always opens on an empty new card.
    newCard();
    // The window opened by a command takes the keyboard, even on a desktop without a window
    // manager to hand it over.
    activateWindow();
}

void CardEditor::cmdNuovoClick()
{
    if (mayLeaveCard(Leave::New))
        newCard();
}

void CardEditor::cmdPrimoClick()
{
    navigate(Move::First);
}

void CardEditor::cmdIndietroClick()
{
    navigate(Move::Previous);
}

void CardEditor::cmdAvantiClick()
{
    navigate(Move::Next);
}

void CardEditor::cmdUltimoClick()
{
    navigate(Move::Last);
}

void CardEditor::navigate(Move move)
{
    // The controls are filled only after the record has been read: a failure leaves the card
    // shown as it was. The archive is not held open while the user is asked about changes: a
    // save from that question writes it.
    try {
        const auto target = [this, move]() -> qint64 {
            const qint64 current = m_session.position;
            if (move == Move::Previous && current == 1)
                return 0; // the first card is shown
            RecordFile archive(archivePath(), recordSize());
            const qint64 count = archive.count();
            archive.close();
            if (count == 0)
                return -1;
            switch (move) {
            case Move::First:
                return 1;
            case Move::Last:
                return count;
            case Move::Next:
                return current >= count ? 0 : current + 1; // nothing after the last card
            case Move::Previous:
                // A new card moves to the first one too.
                return current == 0 ? 1 : current - 1;
            }
            return 0;
        };
        qint64 wanted = target();
        if (wanted < 0) {
            // Nothing to move to; the fields stay as they are, so nothing is dropped.
            if (move == Move::Next)
                setPosition(0);
            desktop().information(ArchiveMessages::kEmpty);
            return;
        }
        if (wanted == 0 || !mayLeaveCard(Leave::Navigate))
            return;
        // A card saved from the question may have become the card to move to, or the last.
        wanted = target();
        if (wanted <= 0)
            return;
        RecordFile archive(archivePath(), recordSize());
        const QByteArray record = archive.read(wanted);
        archive.close();
        loadRecord(record, wanted);
    } catch (const FileError &) {
        desktop().error(ArchiveMessages::kNoAccess);
    }
}

void CardEditor::showAfterArchiveChange(qint64 position)
{
    if (position <= 0) {
        newCard();
        return;
    }
    RecordFile archive(archivePath(), recordSize());
    const QByteArray record = archive.read(position);
    archive.close();
    loadRecord(record, position);
}

void CardEditor::loadRecord(const QByteArray &record, qint64 position)
{
    showRecord(record, position);
    takeAsLoaded();
}

void CardEditor::openCard(qint64 position)
{
    if (!mayLeaveCard(Leave::OpenStored))
        return;
    RecordFile archive(archivePath(), recordSize());
    const QByteArray record = archive.read(position);
    archive.close();
    loadRecord(record, position);
}

void CardEditor::showStoredCard(qint64 position)
{
    try {
        openCard(position);
    } catch (const FileError &) {
        desktop().error(ArchiveMessages::kNoAccess);
    }
}

void CardEditor::cmdSalvaClick()
{
    saveCard();
}

bool CardEditor::saveCard()
{
    for (const auto &[field, warning] : requiredFields()) {
        if (ctrim(field->text()).isEmpty()) {
            desktop().warning(warning);
            field->setFocus();
            return false;
        }
    }

    ArchiveSave::Stored stored{};
    try {
        stored = ArchiveSave::store(archivePath(), recordSize(), m_session.position, recordShown());
    } catch (const FileError &) {
        // Nothing is reported as saved, and the position stays as it was.
        desktop().message(saveFailureKind(), ArchiveMessages::kNoAccess);
        return false;
    }
    setPosition(stored.position);
    emit cardStored(stored.position);
    const QString warning = afterStore(stored.position);
    takeAsLoaded();
    desktop().information(ArchiveSave::confirmation(stored.inserted));
    if (!warning.isEmpty())
        desktop().warning(warning);
    return true;
}

void CardEditor::cmdDuplicaClick()
{
    if (m_session.position == 0) {
        desktop().warning(kNotStored);
        return;
    }
    if (!mayLeaveCard(Leave::Duplicate))
        return;
    // The copy is a new card: its attachments stay with the card it came from. Nothing here
    // reads or writes the archive. Against an empty new card the copy counts as changed.
    setAttachments({});
    setPosition(0);
    leaveBehindOnCopy();
    // A copy not yet stored counts as changed.
    m_loaded.clear();
    firstField()->setFocus();
    desktop().information(kDuplicated);
}

void CardEditor::cmdEsciClick()
{
    close();
}

void CardEditor::closeEvent(QCloseEvent *event)
{
    if (!mayLeaveCard(Leave::Close)) {
        event->ignore();
        return;
    }
    WorkWindow::closeEvent(event);
}
