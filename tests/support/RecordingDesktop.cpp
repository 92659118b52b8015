#include "RecordingDesktop.h"

#include "core/ProgramFolder.h"
#include "report/ReportLayout.h"

#include <QDialog>
#include <QFileInfo>
#include <QTest>

#include <array>

RecordingDesktop::RecordingDesktop()
{
    installDesktop(this);
}

RecordingDesktop::~RecordingDesktop()
{
    installDesktop(nullptr);
}

bool RecordingDesktop::message(Kind kind, const QString &text)
{
    messages.append({kind, text});
    const bool irreversible = kind == Kind::IrreversibleConfirmation;
    if (kind != Kind::Confirmation && !irreversible)
        return true;
    if (confirmations.isEmpty()) {
        problems << QStringLiteral("unexpected confirmation: ") + text;
        return !irreversible; // what closing the real box would answer
    }
    return confirmations.dequeue();
}

Desktop::SaveChoice RecordingDesktop::askSave(const QString &text)
{
    saveQuestions << text;
    if (saveAnswers.isEmpty()) {
        problems << QStringLiteral("unexpected save question: ") + text;
        return SaveChoice::Cancel; // what closing the real box answers
    }
    return saveAnswers.dequeue();
}

QString RecordingDesktop::openFileName(QWidget *, const QString &title, const QString &folder,
                                       const FileFilters &filters)
{
    dialogTitles << title;
    dialogFilters.append(filters);
    dialogSuffixes << QString();
    dialogProposals << folder;
    if (fileAnswers.isEmpty()) {
        problems << QStringLiteral("unexpected open dialog: ") + title;
        return QString();
    }
    return fileAnswers.dequeue();
}

QString RecordingDesktop::saveFileName(QWidget *, const QString &title, const QString &proposed,
                                       const FileFilters &filters, const QString &defaultSuffix)
{
    dialogTitles << title;
    dialogFilters.append(filters);
    dialogSuffixes << defaultSuffix;
    dialogProposals << proposed;
    if (fileAnswers.isEmpty()) {
        problems << QStringLiteral("unexpected save dialog: ") + title;
        return QString();
    }
    // As the real dialog does, a name typed without an extension gets the default one.
    QString answer = fileAnswers.dequeue();
    if (!answer.isEmpty() && !defaultSuffix.isEmpty() && QFileInfo(answer).suffix().isEmpty())
        answer += QLatin1Char('.') + defaultSuffix;
    return answer;
}

QString RecordingDesktop::folderName(QWidget *, const QString &title, const QString &folder)
{
    dialogTitles << title;
    dialogFilters.append(FileFilters());
    dialogSuffixes << QString();
    dialogProposals << folder;
    if (fileAnswers.isEmpty()) {
        problems << QStringLiteral("unexpected folder dialog: ") + title;
        return QString();
    }
    return fileAnswers.dequeue();
}

int RecordingDesktop::choose(const QString &text, const QStringList &answers)
{
    messages.append({Kind::Confirmation, text});
    choiceAnswers << answers;
    if (choices.isEmpty()) {
        problems << QStringLiteral("unexpected question: ") + text;
        return int(answers.size()) - 1; // what closing the real box would answer
    }
    return choices.dequeue();
}

void RecordingDesktop::open(const QString &sCommand)
{
    opened << sCommand;
}

int RecordingDesktop::runModal(QDialog *window)
{
    if (modalHandlers.isEmpty()) {
        problems << QStringLiteral("unexpected modal window: ") + window->objectName();
        return QDialog::Rejected;
    }
    auto handler = modalHandlers.dequeue();
    window->setResult(QDialog::Rejected);
    window->show();
    handler(window);
    if (window->isVisible())
        window->done(QDialog::Rejected);
    return window->result();
}

namespace
{
RecordingDesktop::Report recorded(bool preview, const report::PreparedReport &r)
{
    RecordingDesktop::Report out;
    out.preview = preview;
    out.templateName = r.templateName;
    for (const auto &fill : r.fills) {
        out.objects << fill.name;
        out.texts << fill.text;
    }
    out.pages = r.pageCount();
    for (const auto &page : r.pages)
        for (const auto &item : page.items)
            if (item.kind == report::ObjectKind::Picture && !item.picture.isNull())
                out.picture = item.picture.size();
    return out;
}
} // namespace

namespace
{
void faultIfAsked(bool fault)
{
    const std::array<int, 1> cells{};
    if (fault)
        (void)cells.at(1);
}
} // namespace

void RecordingDesktop::previewReport(QWidget *, const report::PreparedReport &r)
{
    faultIfAsked(reportFault);
    if (!reportFailure.isEmpty())
        throw report::ReportError(reportFailure.toStdString());
    reports << recorded(true, r);
}

bool RecordingDesktop::printReport(QWidget *, const report::PreparedReport &r)
{
    faultIfAsked(reportFault);
    if (!reportFailure.isEmpty())
        throw report::ReportError(reportFailure.toStdString());
    reports << recorded(false, r);
    return printAnswer;
}

QStringList RecordingDesktop::texts() const
{
    QStringList out;
    for (const auto &m : messages)
        out << m.text;
    return out;
}

RecordingDesktop::Message RecordingDesktop::last() const
{
    if (messages.isEmpty()) {
        QTest::qFail("no message was shown", __FILE__, __LINE__);
        return {Kind::Plain, QString()};
    }
    return messages.last();
}

void RecordingDesktop::clear()
{
    messages.clear();
    saveQuestions.clear();
    saveAnswers.clear();
    opened.clear();
    dialogTitles.clear();
    dialogFilters.clear();
    dialogSuffixes.clear();
    dialogProposals.clear();
    problems.clear();
    confirmations.clear();
    fileAnswers.clear();
    choices.clear();
    choiceAnswers.clear();
    modalHandlers.clear();
    reports.clear();
}

QString RecordingDesktop::leftovers() const
{
    QStringList out = problems;
    if (!confirmations.isEmpty())
        out << QStringLiteral("%1 confirmation answer(s) unused").arg(confirmations.size());
    if (!choices.isEmpty())
        out << QStringLiteral("%1 choice(s) unused").arg(choices.size());
    if (!saveAnswers.isEmpty())
        out << QStringLiteral("%1 save answer(s) unused").arg(saveAnswers.size());
    if (!fileAnswers.isEmpty())
        out << QStringLiteral("%1 file answer(s) unused").arg(fileAnswers.size());
    if (!modalHandlers.isEmpty())
        out << QStringLiteral("%1 modal handler(s) unused").arg(modalHandlers.size());
    return out.join(QStringLiteral("; "));
}

TempProgramFolder::TempProgramFolder()
{
    ProgramFolder::setOverride(m_dir.path());
}

TempProgramFolder::~TempProgramFolder()
{
    ProgramFolder::setOverride(QString());
}

QString TempProgramFolder::path() const
{
    return m_dir.path() + QLatin1Char('/');
}

QString TempProgramFolder::file(const QString &name) const
{
    return path() + name;
}
