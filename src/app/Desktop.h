#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QDialog;
class QFileDialog;
class QMessageBox;
class QWidget;
namespace report
{
class PreparedReport;
}

// One entry of a file dialog's type list: the text the user reads and the name patterns it
// lets through ("Immagine JPEG", {"*.jpg", "*.jpeg"}).
struct FileFilter {
    QString label;
    QStringList patterns;

    bool operator==(const FileFilter &other) const
    {
        return label == other.label && patterns == other.patterns;
    }
};
using FileFilters = QList<FileFilter>; // in the order the dialog lists them

// The one place where the program meets the platform: messages, file dialogs, the desktop
// shell's open action and modal per-use windows. Tests install a recording double.
class Desktop
{
public:
    // IrreversibleConfirmation asks before an action that cannot be undone: it looks like a
    // Confirmation, but No is its default and closing it counts as No.
    enum class Kind { Warning, Error, Information, Confirmation, Plain, IrreversibleConfirmation };

    virtual ~Desktop() = default;

    // Shows a modal message of the given kind. For Confirmation the result is false only
    // when the user chose No; for IrreversibleConfirmation it is true only when the user
    // chose Yes; every other kind returns true.
    virtual bool message(Kind kind, const QString &text) = 0;

    // What the user answers when asked whether changes should be kept before they would be
    // dropped: "Salva", "Non salvare" or "Annulla" (closing the box counts as Annulla, so
    // nothing is lost by a stray Esc).
    enum class SaveChoice { Save, DontSave, Cancel };
    virtual SaveChoice askSave(const QString &text);

    // Modal file choice; an empty text means the user cancelled. The save dialog adds
    // `defaultSuffix` (without its dot) to a name typed without one before it asks whether
    // to replace an existing file, so the question is about the file that will be written.
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &folder,
                                 const FileFilters &filters) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &proposed,
                                 const FileFilters &filters, const QString &defaultSuffix) = 0;

    // Modal choice of an existing folder, starting in `folder`; an empty text means the user
    // cancelled. By default the real folder dialog, so that every double keeps building.
    virtual QString folderName(QWidget *parent, const QString &title, const QString &folder);

    // A question answered by one of the buttons `answers`, shown in that order: returns the index of
    // the one chosen. The first is the default; Esc or closing the box chooses the last, which is
    // the answer that does nothing. By default the real message box.
    virtual int choose(const QString &text, const QStringList &answers);

    // TMisc.Open: hands a path, web address or mail link to the desktop's default application
    // and ignores the outcome.
    virtual void open(const QString &sCommand) = 0;

    // Whether some program of this computer opens PDF documents. By default the desktop's own
    // association (xdg-mime); false when there is none or it cannot be asked.
    virtual bool opensPdf();

    // Runs a per-use window modally and returns its result code. The window is the caller's.
    virtual int runModal(QDialog *window) = 0;

    // A laid-out report: shown in the modal preview window until the user closes it, or printed
    // through the print dialog (false when the user cancelled it).
    // By default both go to the report engine's own preview window and print dialog.
    virtual void previewReport(QWidget *parent, const report::PreparedReport &report);
    virtual bool printReport(QWidget *parent, const report::PreparedReport &report);

    // --- helpers every window uses -------------------------------------------------------
    void warning(const QString &text) { message(Kind::Warning, text); }
    void error(const QString &text) { message(Kind::Error, text); }
    void information(const QString &text) { message(Kind::Information, text); }
    bool confirm(const QString &text) { return message(Kind::Confirmation, text); }
    bool confirmIrreversible(const QString &text) { return message(Kind::IrreversibleConfirmation, text); }
    void plain(const QString &text) { message(Kind::Plain, text); }
    // General error report: a failure nobody caught, as a plain message ending with a full stop.
    void generalError(const QString &description);
};

// The process-wide seam. A real QtDesktop is used unless a test installed its own.
Desktop &desktop();
// How the real desktop previews and prints a report; installed at start-up with the report
// engine's own windows (report::installPreviewAndPrint).
struct ReportHandOff
{
    void (*preview)(QWidget *parent, const report::PreparedReport &report) = nullptr;
    bool (*print)(QWidget *parent, const report::PreparedReport &report) = nullptr;
};
void installReportHandOff(const ReportHandOff &handOff);
void installDesktop(Desktop *replacement); // nullptr restores the real one

// The text Qt's file dialogs take for one entry: "Immagine JPEG (*.jpg *.jpeg)".
QString nameFilterText(const FileFilter &filter);

// Sets up `dialog` as the real desktop shows it for an open (`save` false) or save request,
// so the dialog the user meets can also be built and inspected on its own.
void setUpFileDialog(QFileDialog &dialog, bool save, const QString &title, const QString &location,
                     const FileFilters &filters, const QString &defaultSuffix = QString());

// Sets up `box` as the real desktop shows a save question, and reads its answer back from the
// button the user clicked (nullptr when the box was closed).
void setUpSaveQuestion(QMessageBox &box, const QString &text);
Desktop::SaveChoice saveChoiceOf(const QMessageBox &box);

// Sets up `dialog` as the real desktop shows it for a folder choice.
void setUpFolderDialog(QFileDialog &dialog, const QString &title, const QString &folder);

// Turns a shell-style target (a path between double quotes, a web address, a mail link)
// into the URL the desktop is asked to open.
class QUrl;
QUrl shellTargetUrl(const QString &sCommand);

// Runs a handler and sends whatever error it did not catch itself (a fault of the program
// included) to the general error report, so that an uncaught failure never ends the program.
// The handler catches only the failures it expects; anything that is not an error of the
// standard kind goes on to the program's last line (the application's event dispatch).
template <typename F> void guarded(F &&handler);

#include <exception>
template <typename F> void guarded(F &&handler)
{
    try {
        handler();
    } catch (const std::exception &e) {
        desktop().generalError(QString::fromUtf8(e.what()));
    }
}
