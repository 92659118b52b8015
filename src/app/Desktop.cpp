#include "app/Desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

#include <stdexcept>

namespace {

// Message texts keep the program's own line breaks ("\n\r\n\r", "\r\n\r\n"); on screen a
// stray carriage return would show as a box, so pairs become plain line feeds for display.
QString displayText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    text.remove(QLatin1Char('\r'));
    return text;
}

QString chosenFile(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

ReportHandOff g_reportHandOff;

const ReportHandOff &reportHandOff()
{
    if (!g_reportHandOff.preview || !g_reportHandOff.print)
        throw std::runtime_error("Anteprima e stampa non disponibili");
    return g_reportHandOff;
}

class QtDesktop : public Desktop
{
public:
    bool message(Kind kind, const QString &text) override
    {
        QMessageBox box(QApplication::activeWindow());
        // A name from a card or a file is shown as written, never read as markup.
        box.setTextFormat(Qt::PlainText);
        box.setText(displayText(text));
        switch (kind) {
        case Kind::Warning:
            box.setIcon(QMessageBox::Warning);
            box.setWindowTitle(QStringLiteral("Attenzione"));
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Kind::Error:
            box.setIcon(QMessageBox::Critical);
            box.setWindowTitle(QStringLiteral("Errore"));
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Kind::Information:
            box.setIcon(QMessageBox::Information);
            box.setWindowTitle(QStringLiteral("Informazione"));
            // Nothing follows from the answer: an Annulla would cancel nothing.
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Kind::Confirmation:
            box.setIcon(QMessageBox::Question);
            box.setWindowTitle(QStringLiteral("Conferma"));
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            // Closing the box without choosing No lets the action go ahead.
            box.setEscapeButton(QMessageBox::Yes);
            break;
        case Kind::IrreversibleConfirmation:
            box.setIcon(QMessageBox::Question);
            box.setWindowTitle(QStringLiteral("Conferma"));
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            // Nothing that cannot be undone happens by Enter, Esc or closing the box.
            box.setDefaultButton(QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
        case Kind::Plain:
            box.setWindowTitle(QStringLiteral("Cantorium"));
            box.setStandardButtons(QMessageBox::Ok);
            break;
        }
        const int answer = box.exec();
        if (kind == Kind::IrreversibleConfirmation)
            return answer == QMessageBox::Yes;
        return kind != Kind::Confirmation || answer != QMessageBox::No;
    }

    QString openFileName(QWidget *parent, const QString &title, const QString &folder,
                         const FileFilters &filters) override
    {
        QFileDialog dialog(parent);
        setUpFileDialog(dialog, false, title, folder, filters);
        return chosenFile(dialog);
    }

    QString saveFileName(QWidget *parent, const QString &title, const QString &proposed,
                         const FileFilters &filters, const QString &defaultSuffix) override
    {
        QFileDialog dialog(parent);
        setUpFileDialog(dialog, true, title, proposed, filters, defaultSuffix);
        return chosenFile(dialog);
    }

    void open(const QString &sCommand) override
    {
        const QUrl url = shellTargetUrl(sCommand);
        if (url.isValid())
            QDesktopServices::openUrl(url);
    }

    int runModal(QDialog *window) override
    {
        // The window that opened it gets the keyboard back when it closes, even after a window
        // of its own (a print dialog, a report preview) took the activation with it.
        const QPointer<QWidget> opener = QApplication::activeWindow();
        const QPointer<QWidget> focused = opener ? opener->focusWidget() : nullptr;
        const int result = window->exec();
        QWidget *modal = QApplication::activeModalWidget();
        if (opener && opener->isVisible() && (!modal || modal == opener)) {
            opener->activateWindow();
            if (focused && focused->isVisible() && focused->window() == opener)
                focused->setFocus(Qt::ActiveWindowFocusReason);
        }
        return result;
    }
};

QtDesktop &realDesktop()
{
    static QtDesktop instance;
    return instance;
}

Desktop *g_installed = nullptr;

} // namespace

Desktop &desktop()
{
    return g_installed ? *g_installed : realDesktop();
}

int Desktop::choose(const QString &text, const QStringList &answers)
{
    QMessageBox box(QApplication::activeWindow());
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(QStringLiteral("Conferma"));
    box.setTextFormat(Qt::PlainText);
    box.setText(displayText(text));
    QList<QAbstractButton *> buttons;
    for (int i = 0; i < answers.size(); ++i) {
        const QMessageBox::ButtonRole role = i == 0                      ? QMessageBox::YesRole
                                             : i + 1 == answers.size() ? QMessageBox::NoRole
                                                                       : QMessageBox::ActionRole;
        buttons << box.addButton(answers.at(i), role);
    }
    if (!buttons.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton *>(buttons.first()));
        box.setEscapeButton(buttons.last());
    }
    box.exec();
    const int chosen = int(buttons.indexOf(box.clickedButton()));
    return chosen < 0 ? int(answers.size()) - 1 : chosen;
}

QString Desktop::folderName(QWidget *parent, const QString &title, const QString &folder)
{
    QFileDialog dialog(parent);
    setUpFolderDialog(dialog, title, folder);
    return chosenFile(dialog);
}

bool Desktop::opensPdf()
{
#ifdef Q_OS_WIN
    return true; // the shell offers to find a program itself
#else
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                              QStringLiteral("application/pdf")});
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0 &&
           !query.readAllStandardOutput().trimmed().isEmpty();
#endif
}

void setUpSaveQuestion(QMessageBox &box, const QString &text)
{
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(QStringLiteral("Conferma"));
    box.setTextFormat(Qt::PlainText);
    box.setText(displayText(text));
    QPushButton *save = box.addButton(QStringLiteral("Salva"), QMessageBox::AcceptRole);
    save->setObjectName(QStringLiteral("btnSalva"));
    box.addButton(QStringLiteral("Non salvare"), QMessageBox::DestructiveRole)
        ->setObjectName(QStringLiteral("btnNonSalvare"));
    QPushButton *cancel = box.addButton(QStringLiteral("Annulla"), QMessageBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnAnnulla"));
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
}

Desktop::SaveChoice saveChoiceOf(const QMessageBox &box)
{
    const QAbstractButton *clicked = box.clickedButton();
    if (!clicked)
        return Desktop::SaveChoice::Cancel;
    switch (box.buttonRole(const_cast<QAbstractButton *>(clicked))) {
    case QMessageBox::AcceptRole:
        return Desktop::SaveChoice::Save;
    case QMessageBox::DestructiveRole:
        return Desktop::SaveChoice::DontSave;
    default:
        return Desktop::SaveChoice::Cancel;
    }
}

Desktop::SaveChoice Desktop::askSave(const QString &text)
{
    QMessageBox box(QApplication::activeWindow());
    setUpSaveQuestion(box, text);
    box.exec();
    return saveChoiceOf(box);
}

void Desktop::previewReport(QWidget *parent, const report::PreparedReport &report)
{
    reportHandOff().preview(parent, report);
}

bool Desktop::printReport(QWidget *parent, const report::PreparedReport &report)
{
    return reportHandOff().print(parent, report);
}

void installReportHandOff(const ReportHandOff &handOff)
{
    g_reportHandOff = handOff;
}

void installDesktop(Desktop *replacement)
{
    g_installed = replacement;
}

void Desktop::generalError(const QString &description)
{
    QString text = description;
    if (!text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    plain(text);
}

QString nameFilterText(const FileFilter &filter)
{
    return filter.label + QStringLiteral(" (") + filter.patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

namespace
{

// "png" for "*.png"; empty for a pattern that is not a plain suffix.
QString suffixOf(const QString &pattern)
{
    const QString suffix = pattern.mid(2);
    if (!pattern.startsWith(QLatin1String("*.")) || suffix.isEmpty() || suffix.contains(QLatin1Char('*')) ||
        suffix.contains(QLatin1Char('?')))
        return QString();
    return suffix;
}

// A save dialog offering several types writes the type the user picks: Qt changes the suffix of
// the name shown, and the suffix added to a name typed bare follows the chosen type too.
void followChosenType(QFileDialog &dialog, const FileFilters &filters)
{
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString &text) {
        for (const FileFilter &filter : filters) {
            const QString suffix = suffixOf(filter.patterns.value(0));
            if (nameFilterText(filter) == text && !suffix.isEmpty())
                dialog.setDefaultSuffix(suffix);
        }
    });
}

} // namespace

void setUpFileDialog(QFileDialog &dialog, bool save, const QString &title, const QString &location,
                     const FileFilters &filters, const QString &defaultSuffix)
{
    dialog.setWindowTitle(title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList texts;
    for (const FileFilter &filter : filters)
        texts << nameFilterText(filter);
    if (!texts.isEmpty())
        dialog.setNameFilters(texts);
    dialog.setDefaultSuffix(defaultSuffix);
    if (save && filters.size() > 1 && !defaultSuffix.isEmpty())
        followChosenType(dialog, filters);
    // The location is a folder, or for a save a proposed name, possibly with its folder.
    const QFileInfo info(location);
    if (location.isEmpty())
        return;
    if (!save || info.isDir()) {
        dialog.setDirectory(location);
        return;
    }
    if (!info.path().isEmpty() && info.path() != QLatin1String("."))
        dialog.setDirectory(info.path());
    dialog.selectFile(info.fileName());
}

void setUpFolderDialog(QFileDialog &dialog, const QString &title, const QString &folder)
{
    dialog.setWindowTitle(title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        dialog.setDirectory(folder);
}

QUrl shellTargetUrl(const QString &sCommand)
{
    QString target = sCommand.trimmed();
    // Callers follow the Windows shell's habit of quoting paths and mail links.
    if (target.size() >= 2 && target.startsWith(QLatin1Char('"')) && target.endsWith(QLatin1Char('"')))
        target = target.mid(1, target.size() - 2);
    if (target.isEmpty())
        return QUrl();
    const QString lower = target.toLower();
    if (lower.startsWith(QLatin1String("mailto:")) || lower.startsWith(QLatin1String("http://"))
        || lower.startsWith(QLatin1String("https://")))
        return QUrl(target, QUrl::TolerantMode);
    return QUrl::fromLocalFile(target);
}
