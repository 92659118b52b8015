#include "records/AudioFile.h"

#include <QFile>
#include <QFileInfo>

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tfilestream.h>
#include <taglib/tpropertymap.h>

#include <memory>

namespace AudioFile
{

const QString kEmpty = QStringLiteral("file vuoto");
const QString kNotAFile = QStringLiteral("non è un file ordinario");
const QString kBrokenLink = QStringLiteral("collegamento simbolico interrotto o circolare");
const QString kCannotOpen = QStringLiteral("impossibile aprire il file in lettura");
const QString kNotAudio = QStringLiteral("non è un file audio leggibile o è danneggiato");

namespace
{
QString toQt(const TagLib::String &s)
{
    return QString::fromStdWString(s.toWString());
}

Reading failed(const QString &why)
{
    Reading r;
    r.failure = why;
    return r;
}
} // namespace

const QStringList &extensions()
{
    static const QStringList list = [] {
        QStringList out;
        for (const TagLib::String &e : TagLib::FileRef::defaultFileExtensions())
            out << toQt(e).toLower();
        return out;
    }();
    return list;
}

bool hasAudioExtension(const QString &fileName)
{
    const int dot = int(fileName.lastIndexOf(QLatin1Char('.')));
    return dot >= 0 && extensions().contains(fileName.mid(dot + 1).toLower());
}

Reading read(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() && !info.exists())
        return failed(kBrokenLink);
    if (!info.exists())
        return failed(kCannotOpen);
    // A pipe or a device named like a song would block or never end: only plain files are read.
    if (!info.isFile())
        return failed(kNotAFile);
    if (info.size() == 0)
        return failed(kEmpty);

    // Opened read-only on purpose: a file reference alone would open the file for writing too.
    const QByteArray name = QFile::encodeName(path);
    TagLib::FileStream stream(name.constData(), true);
    if (!stream.isOpen())
        return failed(kCannotOpen);
    const TagLib::FileRef ref(&stream, true, TagLib::AudioProperties::Average);
    if (ref.isNull() || !ref.file()->isValid())
        return failed(kNotAudio);
    // TagLib accepts a file named .mp3 in which it finds no sound at all (a text, say); real
    // audio always tells its sample rate.
    const TagLib::AudioProperties *audio = ref.audioProperties();
    if (!audio || audio->sampleRate() <= 0)
        return failed(kNotAudio);

    Reading r;
    r.ok = true;
    const TagLib::PropertyMap map = ref.file()->properties();
    for (auto it = map.begin(); it != map.end(); ++it) {
        QStringList values;
        for (const TagLib::String &v : it->second)
            values << toQt(v);
        r.tags.properties.insert(toQt(it->first).toUpper(), values);
    }
    r.tags.lengthMilliseconds = audio->lengthInMilliseconds() > 0 ? audio->lengthInMilliseconds() : -1;
    return r;
}

} // namespace AudioFile
