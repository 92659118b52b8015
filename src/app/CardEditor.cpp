#include "app/CardEditor.h"

#include "app/ArchiveMessages.h"
#include "app/ArchiveSave.h"
#include "app/Fields.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "core/RecordFile.h"
#include "core/Text.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QShowEvent>

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
struct CommandKey {
    const char *command;
    QKeyCombination key;
    const char *keys;
    bool memoKeeps;
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
};

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
            if (k.memoKeeps && qobject_cast<QPlainTextEdit *>(watched))
                event->accept(); // the memo takes the key
            else
                event->ignore(); // the command takes it
            return true;
        }
        return false;
    }
};

// The number in a position label: 0 when empty (a new card). Anything else that is not a
// whole number from 0 up stops the command like an archive failure.
qint64 positionOf(const QString &shown)
{
    if (shown.isEmpty())
        return 0;
    bool number = false;
    const qint64 p = shown.toLongLong(&number);
    if (!number || p < 0)
        throw FileError(QStringLiteral("Posizione non valida: %1").arg(shown));
    return p;
}

} // namespace

const QString CardEditor::kReady = QStringLiteral("Pronto per archiviare una nuova scheda...");

CardEditor::CardEditor(const QString &name, const QString &title, const QSize &panel)
    : WorkWindow(name, title, Look::kWorkTop, panel)
{
    QWidget *p = this->panel();
    lblFile01 = stateLabel(p, QStringLiteral("lblFile01"));
    lblFile02 = stateLabel(p, QStringLiteral("lblFile02"));
    lblFile03 = stateLabel(p, QStringLiteral("lblFile03"));
    lblDesc01 = stateLabel(p, QStringLiteral("lblDesc01"));
    lblDesc02 = stateLabel(p, QStringLiteral("lblDesc02"));
    lblDesc03 = stateLabel(p, QStringLiteral("lblDesc03"));
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
    edit->setFont(Look::font(QStringLiteral("Verdana"), 12, true));
    edit->setTextMargins(2, 0, 2, 0);
    edit->setMaxLength(capacity);
    Fields::backgroundHighlight(edit);
    return edit;
}

QLabel *CardEditor::fieldCaption(const QString &field, const QString &text, int x, int top)
{
    return caption(panel(), QStringLiteral("lbl") + field, text, QPoint(x, top - 18));
}

void CardEditor::placePosition(const QRect &place)
{
    lblPosizione = stateLabel(panel(), QStringLiteral("lblPosizione"));
    lblPosizione->setGeometry(place);
    lblPosizione->setAlignment(Qt::AlignCenter);
    lblPosizione->setFont(Look::font(QStringLiteral("Verdana"), Look::kDefaultPoints, true));
    lblPosizione->show();
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

QList<QLabel *> CardEditor::attachmentLabels() const
{
    return {lblFile01, lblFile02, lblFile03, lblDesc01, lblDesc02, lblDesc03};
}

Attachments CardEditor::attachments() const
{
    return {{stateOf(lblFile01), stateOf(lblFile02), stateOf(lblFile03)},
            {stateOf(lblDesc01), stateOf(lblDesc02), stateOf(lblDesc03)}};
}

void CardEditor::setAttachments(const Attachments &values)
{
    lblFile01->setText(values.file[0]);
    lblDesc01->setText(values.desc[0]);
    lblFile02->setText(values.file[1]);
    lblDesc02->setText(values.desc[1]);
    lblFile03->setText(values.file[2]);
    lblDesc03->setText(values.desc[2]);
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
    clearCard();
    // The window opened by a command takes the keyboard, even on a desktop without a window
    // manager to hand it over.
    activateWindow();
}

void CardEditor::cmdNuovoClick()
{
    clearCard();
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
    // shown as it was.
    try {
        RecordFile archive(archivePath(), recordSize());
        const QString shown = stateOf(lblPosizione);
        if (move == Move::Previous && shown == QLatin1String("1"))
            return; // the first card is shown
        const qint64 current = move == Move::Next ? positionOf(shown) : 0;
        const qint64 count = archive.count();
        if (count == 0) {
            if (move == Move::Next)
                lblPosizione->clear();
            archive.close();
            desktop().information(ArchiveMessages::kEmpty);
            return;
        }
        qint64 wanted = 0;
        switch (move) {
        case Move::First:
            wanted = 1;
            break;
        case Move::Last:
            wanted = count;
            break;
        case Move::Next:
            if (current >= count)
                return; // the last card is shown
            wanted = current + 1;
            break;
        case Move::Previous:
            // A new card moves to the first one too.
            wanted = shown.isEmpty() ? 1 : positionOf(shown) - 1;
            break;
        }
        const QByteArray record = archive.read(wanted);
        archive.close();
        showRecord(record, wanted);
    } catch (const FileError &) {
        desktop().error(ArchiveMessages::kNoAccess);
    }
}

void CardEditor::openCard(qint64 position)
{
    RecordFile archive(archivePath(), recordSize());
    const QByteArray record = archive.read(position);
    archive.close();
    showRecord(record, position);
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
    for (const auto &[field, warning] : requiredFields()) {
        if (ctrim(field->text()).isEmpty()) {
            desktop().warning(warning);
            field->setFocus();
            return;
        }
    }

    ArchiveSave::Stored stored{};
    try {
        stored = ArchiveSave::store(archivePath(), recordSize(), stateOf(lblPosizione), recordShown());
    } catch (const FileError &) {
        // Nothing is reported as saved, and the position stays as it was.
        desktop().message(saveFailureKind(), ArchiveMessages::kNoAccess);
        return;
    }
    lblPosizione->setText(QString::number(stored.position));
    const QString warning = afterStore(stored.position);
    desktop().information(ArchiveSave::confirmation(stored.inserted));
    if (!warning.isEmpty())
        desktop().warning(warning);
}

void CardEditor::cmdDuplicaClick()
{
    if (stateOf(lblPosizione).isEmpty()) {
        desktop().warning(kNotStored);
        return;
    }
    // The copy is a new card: its attachments stay with the card it came from. Nothing here
    // reads or writes the archive.
    for (QLabel *label : attachmentLabels())
        label->clear();
    lblPosizione->clear();
    leaveBehindOnCopy();
    firstField()->setFocus();
    desktop().information(kDuplicated);
}

void CardEditor::cmdEsciClick()
{
    close();
}
