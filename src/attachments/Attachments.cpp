#include "attachments/Attachments.h"

#include "core/ProgramFolder.h"
#include "core/Text.h"

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

} // namespace AttachmentFolder
