#pragma once

#include <array>
#include <cstddef>

// How a song card field is filled from an audio file's tags.
enum class ImportRule {
    None,       // not filled by an import
    Text,       // the first listed tag that holds something; several values are joined by ", "
    Memo,       // the same, several lines kept
    Year,       // the first four-digit year in a year or date tag
    Length,     // the playing length as m:ss, h:mm:ss past an hour
    Title,      // as Text; without a title, the file name without its extension
    NotFlagged, // "No"
};

// How a table view orders a column.
enum class SortKey {
    Text,   // by the folded text
    Number, // by the number at the start of the text; texts without one after every number
    Year,   // by the first four-digit year in the text ("12/03/1950", "1986")
};

// What the program does with one field of a record besides storing it (the record's
// RecordSchema says where its bytes lie). Each record type has one table of these, one row per
// field in record order; editors, printed cards, exports, searches, result lines, imports and
// table views walk it, so a field is described in one place. A null text or a zero order means
// "not used there". Texts are UTF-8.
//
// The control's prefix says what the editor shows the field in: "txt" a one-line field (a
// memo when the schema's codec is a memo), "chk" a check box, "lbl" a hidden label that the
// editor keeps in its session (the attachments).
struct FieldInfo {
    int field;           // index in the record's schema
    const char *control; // the editor's control ("txtIban", "lblFile01")
    const char *caption; // the caption beside that control

    // Where the editor draws the control and its place in the Tab and Enter chain; the
    // caption stands above it. Order 0: the editor places the control itself, or not at all.
    struct Place {
        int order;
        int x, y, width;
    } place;

    // Written before the text on the printed card. Whether and where the field is printed is
    // the printed card's layout, which names its cells by field.
    const char *printPrefix;

    struct Export {
        const char *header; // column header in the export grid and sheet
        int gridWidth;
        int sheetWidth;
    } exportColumn;

    struct Filter {
        int order;           // place among the search's filters, 1 first; 0 when not searched
        const char *caption; // the filter's caption
        const char *frame;   // the filter's highlight frame
    } filter;

    struct ListColumn {
        int order;             // place in a result line, 1 first; 0 when not listed
        const char *separator; // text before the field
        int width;             // characters, padded or cut; kRest takes the rest of the line
    } listColumn;

    // A column of a table view of the archive, and the header the import's preview gives the
    // field. Null title: not a column.
    struct TableColumn {
        const char *title;
        int width; // pixels
        SortKey sort;
    } tableColumn;

    // Where an import takes the field from: tags tried in order, as TagLib's property map names
    // them ("TITLE", "COMMENT"); and the width of its column in the import's preview (0: not
    // shown there).
    struct Import {
        ImportRule rule;
        std::array<const char *, 3> tags;
        int previewWidth;
    } import;

    static constexpr int kRest = -1;
};

// The search windows show this many filters.
constexpr int kSearchFilters = 10;

// A record type's table: rows in record order.
class FieldTable
{
public:
    template <size_t N>
    constexpr FieldTable(const FieldInfo (&rows)[N])
        : m_rows(rows)
        , m_count(int(N))
    {
    }
    int size() const { return m_count; }
    const FieldInfo &operator[](int field) const { return m_rows[field]; }
    const FieldInfo *begin() const { return m_rows; }
    const FieldInfo *end() const { return m_rows + m_count; }
    // The row whose editor control is `control`, or null.
    const FieldInfo *byControl(const char *control) const;

    // True when every row's field is its index: a table can be checked at compile time.
    template <size_t N> static constexpr bool inRecordOrder(const FieldInfo (&rows)[N])
    {
        for (size_t i = 0; i < N; ++i)
            if (rows[i].field != int(i))
                return false;
        return true;
    }
    // The number of rows whose filter order is set; each order from 1 to that number once.
    template <size_t N> static constexpr int filterCount(const FieldInfo (&rows)[N])
    {
        int count = 0;
        for (size_t i = 0; i < N; ++i)
            if (rows[i].filter.order > 0)
                ++count;
        for (int order = 1; order <= count; ++order) {
            int seen = 0;
            for (size_t i = 0; i < N; ++i)
                if (rows[i].filter.order == order)
                    ++seen;
            if (seen != 1)
                return -1;
        }
        return count;
    }

private:
    const FieldInfo *m_rows;
    int m_count;
};
