#include "attachments/Attachments.h"

#include "core/ProgramFolder.h"
#include "core/Text.h"

#include <QFileInfo>

#include <algorithm>

namespace AttachmentFolder
{

QString path()
{
    return ProgramFolder::file(QStringLiteral("Documenti_Allegati/"));
}

QString fileFor(const QString &storedName)
{
    const QString name = ctrim(storedName);
    // Cards made on Windows use either separator.
    const qsizetype cut = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    const QString bare = ctrim(name.mid(cut + 1));
    if (bare.isEmpty() || bare == QLatin1String(".") || bare == QLatin1String(".."))
        return QString();
    return path() + bare;
}

QString storableName(const QString &pickedName)
{
    QString name = Ansi::toUnicode(Ansi::fromUnicode(pickedName, '_'));
    name.replace(QLatin1Char('\\'), QLatin1Char('_'));
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    // Trimmed here, once, after the conversion has made Unicode spaces plain ones: the card keeps
    // the name trimmed, so the copy must carry the trimmed name too.
    name = ctrim(name);
    if (std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c == QLatin1Char('.'); }))
        return QString();
    return name;
}

QString unusedName(const QString &name, int capacity)
{
    // The number goes before the extension, so that the copy still opens with its program.
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    const QString stem = dot > 0 ? name.left(dot) : name;
    for (int n = 2; n < 1000; ++n) {
        const QString suffix = QStringLiteral(" (%1)").arg(n) + extension;
        const qsizetype room = capacity - Ansi::fromUnicode(suffix).size();
        if (room <= 0)
            return QString();
        const QString candidate = stem.left(room) + suffix;
        const QFileInfo entry(path() + candidate);
        if (!entry.exists() && !entry.isSymLink())
            return candidate;
    }
    return QString();
}

} // namespace AttachmentFolder
