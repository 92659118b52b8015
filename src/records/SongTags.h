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

// How a song card is filled from an audio file's tags: one entry per card field, in record
// order, each naming the tags it is taken from.
namespace SongTagMap
{

enum class Rule {
    Text,     // the first listed tag that holds something; several values are joined by ", "
    Memo,     // the same, several lines kept
    Year,     // the first four-digit year in a year or date tag
    Length,   // the playing length as m:ss, h:mm:ss past an hour
    Title,    // as Text; without a title, the file name without its extension
    NotFlagged, // "No"
};

struct Entry {
    SongCard::Field field;
    Rule rule;
    std::array<const char *, 3> tags; // tried in order; nullptr ends the list
};

const std::array<Entry, 10> &table();

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
