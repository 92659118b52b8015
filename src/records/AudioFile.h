#pragma once

#include "records/SongTags.h"

#include <QString>
#include <QStringList>

// Reading the tags of one audio file (every format TagLib knows). The file is opened for
// reading only and never changed.
namespace AudioFile
{

struct Reading {
    bool ok = false;
    SongTags tags;
    QString failure; // why the file could not be read, in Italian, when !ok
};

Reading read(const QString &path);

// The name endings, lower case and without the dot, of the files read as audio.
const QStringList &extensions();
bool hasAudioExtension(const QString &fileName);

// The failure texts, as the import lists them.
extern const QString kEmpty;
extern const QString kNotAFile;
extern const QString kBrokenLink;
extern const QString kCannotOpen;
extern const QString kNotAudio;

} // namespace AudioFile
