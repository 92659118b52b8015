#pragma once

#include "records/SongCard.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <array>

// What an audio file's tags say, keyed as TagLib's property map names them ("TITLE",
// "ARTIST", "LYRICS", "COMMENT:DESCRIPTION"...), with the playing length.
struct SongTags {
    QMap<QString, QStringList> properties;
    int lengthMilliseconds = -1; // -1 when the file does not tell
};

// How a song card is filled from an audio file's tags.
namespace SongTagMap
{

// What each field is filled from is the `import` of its row in SongCard::fields().
using Rule = ImportRule;

// The card an audio file called `fileName` (without folder) gives; every other field empty.
SongCard cardFrom(const SongTags &tags, const QString &fileName);

QString durationText(int milliseconds); // rounded to the second; empty when unknown
QString yearOf(const QString &date);    // "1986" from "1986-05-01"; empty without a year

// What storing `text` in `field` changes, so that a preview can say it.
struct Fit {
    bool cut = false;     // longer than the field: the end is dropped
    bool bestFit = false; // characters Windows-1252 lacks become close letters or '?'
};
Fit fitOf(SongCard::Field field, const QString &text);
// The card exactly as the collection file will hold it.
SongCard asStored(const SongCard &card);

// Two cards hold the same song when their titles and singers agree, trimmed and without
// regard to the case of letters.
QString sameSongKey(const QString &title, const QString &singer);

} // namespace SongTagMap
