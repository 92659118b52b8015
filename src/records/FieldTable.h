#pragma once

#include <cstddef>

// What the program does with one field of a record besides storing it (the record's
// RecordSchema says where its bytes lie). Each record type has one table of these, one row per
// field in record order; editors, printed cards, exports, searches and result lines walk it, so
// a field is described in one place. A null text means "not used there". Texts are UTF-8.
struct FieldInfo {
    int field;            // index in the record's schema
    const char *control;  // the editor's control ("txtIban", "lblFile01")
    const char *caption;  // the caption beside that control

    const char *reportObject; // the printed card's text object filled with the field
    const char *reportPrefix; // written before the text on the printed card

    struct Export {
        const char *header; // column header in the export grid and sheet
        int gridWidth;
        int sheetWidth;
        bool fullOnly = false; // exported only with every field; the .xls keeps its own columns
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

    static constexpr int kRest = -1;
};

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

private:
    const FieldInfo *m_rows;
    int m_count;
};
