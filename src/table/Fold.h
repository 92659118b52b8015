#pragma once

#include <QByteArray>
#include <QString>

#include <utility>

// Folded text: what quick search and the duplicate check compare. Letters lose case and accents
// ("CITTÀ" and "città" both give "citta"), ligatures and special letters are spelt out ("ß" gives
// "ss", "Œ" gives "oe"), apostrophes vanish ("dell'amore" gives "dellamore"), and every other
// character is a word break, kept as one blank between words. Folded text is plain ASCII.
namespace Fold
{

// The folding of one Windows-1252 byte: empty for an apostrophe, " " for a word break.
const QByteArray &byte(unsigned char c);

// Appends the folded form of `n` Windows-1252 bytes to `out`. Word breaks are merged with a
// break already at the end of `out`, and none starts an empty `out`.
void append(QByteArray &out, const char *bytes, int n);

// Any text: characters that Windows-1252 lacks are first turned into their closest letter, as
// storing them in a card would, so a query folds exactly as the card text it looks for.
QByteArray text(const QString &text);

// The words of a query, folded; empty when it holds none.
QList<QByteArray> words(const QString &query);

// The key under which two cards count as the same song: title and singer folded, without a
// trailing "(live)", "(remastered ...)" or "- versione ...", and without blanks.
QByteArray duplicateKey(const QString &title, const QString &singer);

} // namespace Fold

namespace Fold
{
// The parts of `text` that the folded `words` match, as [start, end) character ranges, in
// order and merged; for showing a search's hits in a card text.
QList<std::pair<int, int>> hits(const QString &text, const QList<QByteArray> &words);
} // namespace Fold
