#pragma once

#include <QString>

#include <functional>

// The order of the sorted result lists and the find-in-list rule they share.
namespace Lists
{

// Lower-cases the letters A to Z only; every other character stays as it is.
QString lowerAscii(const QString &text);

// Character by character, a to z taken as A to Z, every other character by its code; a line
// that is a beginning of another comes first. No locale is involved.
int compareLines(const QString &a, const QString &b);
inline bool lineLess(const QString &a, const QString &b)
{
    return compareLines(a, b) < 0;
}

// Find in list: the text typed is looked for in the lines as they are shown, ignoring the case
// of A to Z. A new text searches from the top (line 0 first); the same text again goes on from
// the selected line, wrapping round, so that repeated presses step through the hits.
class FindInList
{
public:
    // Forgets the last text, as when the window is shown.
    void reset() { m_last.clear(); }
    QString lastText() const { return m_last; }

    // `count` lines, read through `lineAt`; `selected` is the selected row (never -1: the
    // window selects the first line before it asks). Returns the row hit, or -1 for no hit.
    int find(int count, const std::function<QString(int)> &lineAt, int selected, const QString &typed);

private:
    QString m_last;
};

} // namespace Lists
