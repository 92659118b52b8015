#pragma once

#include "app/Desktop.h"

#include <QList>
#include <QQueue>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// The test double of the desktop seam: keeps every message with its kind and exact text,
// answers confirmations, file dialogs and modal windows from queues, and records what was
// handed to the desktop shell. Installed on construction, removed on destruction.
class RecordingDesktop : public Desktop
{
public:
    struct Message
    {
        Kind kind;
        QString text;
    };

    RecordingDesktop();
    ~RecordingDesktop() override;

    bool message(Kind kind, const QString &text) override;
    SaveChoice askSave(const QString &text) override;
    QString openFileName(QWidget *parent, const QString &title, const QString &folder,
                         const FileFilters &filters) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &proposed,
                         const FileFilters &filters, const QString &defaultSuffix) override;
    QString folderName(QWidget *parent, const QString &title, const QString &folder) override;
    int choose(const QString &text, const QStringList &answers) override;
    void open(const QString &sCommand) override;
    bool opensPdf() override { return pdfViewer; }
    int runModal(QDialog *window) override;
    void previewReport(QWidget *parent, const report::PreparedReport &report) override;
    bool printReport(QWidget *parent, const report::PreparedReport &report) override;

    // A report handed over for preview or print: its template, the objects the window filled
    // and their texts in order, its page count and the size of the picture it carries.
    struct Report {
        bool preview = false;
        QString templateName;
        QStringList objects;
        QStringList texts;
        int pages = 0;
        QSize picture;
    };
    QList<Report> reports;
    bool printAnswer = true; // what the print dialog answers (false = cancelled)
    QString reportFailure;   // when set, the hand-off fails with this description
    bool reportFault = false; // when set, the hand-off fails as a fault of the program would
                              // (std::out_of_range from std::array::at)

    // Queued answers, used in order.
    QQueue<bool> confirmations;           // false = No; answers both kinds of confirmation
    QQueue<QString> fileAnswers;          // empty text = cancelled
    QQueue<int> choices;                  // index of the answer chosen in a question of choose()
    QQueue<SaveChoice> saveAnswers;       // answers to askSave, in order
    // Each modal window is handed to the next handler while shown; the handler drives it and
    // closes it (accept/reject/done). The return value of runModal is the window's result.
    QQueue<std::function<void(QDialog *)>> modalHandlers;

    QList<Message> messages;      // choose() questions too, as confirmations
    QList<QStringList> choiceAnswers; // the answers offered by each choose() question, in order
    QStringList saveQuestions;    // every text askSave was given, in order
    QStringList opened;           // every sCommand handed to TMisc.Open
    bool pdfViewer = true;        // what opensPdf() answers
    QStringList dialogTitles;     // titles of file dialogs, in order
    QList<FileFilters> dialogFilters; // type lists of file dialogs, in order
    QStringList dialogSuffixes;   // default suffix of file dialogs, in order (empty for open)
    QStringList dialogProposals;  // proposed name or folder of file dialogs, in order
    QStringList problems;         // unexpected requests (no queued answer)

    // Texts of the recorded messages, in order.
    QStringList texts() const;
    // The last message; fails the current test when there is none.
    Message last() const;
    void clear();
    // Empty when every queued answer was used and nothing unexpected happened; otherwise a
    // description for QVERIFY2.
    QString leftovers() const;
};

// Verifies in a test function that the double has nothing left over.
#define VERIFY_DESKTOP_CLEAN(d) QVERIFY2((d).leftovers().isEmpty(), qPrintable((d).leftovers()))

// Makes a fresh temporary program folder for the duration of a test.
class TempProgramFolder
{
public:
    TempProgramFolder();
    ~TempProgramFolder();
    QString path() const; // with trailing separator
    QString file(const QString &name) const;

private:
    QTemporaryDir m_dir;
};
