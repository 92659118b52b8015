#pragma once

#include "core/RecordSchema.h"

#include <QByteArray>
#include <QString>

#include <vector>

// The partial-text filters of a search, matched on the stored bytes of a record.
//
// A filter whose text is blank once trimmed takes no part. Every other filter is matched as
// typed, untrimmed: its text must occur in the field's text with A to Z taken as a to z and
// every other character as itself. The field's text is the stored one: as stored for a
// zero-terminated field, trimmed for a counted one. A record matches when every filter does.
namespace Lists
{

class RecordFilter
{
public:
    explicit RecordFilter(const RecordSchema &schema);

    // Adds the filter on schema field `field`; a blank text is left out.
    void add(int field, const QString &typed);
    // The number of filters that take part.
    int filled() const { return int(m_filters.size()); }

    // `record` holds schema().size() bytes.
    bool matches(const char *record) const;

private:
    struct Filter {
        int field;
        QByteArray pattern; // Windows-1252, A to Z lowered
        QString text;       // lowered, for the rare filter a byte match cannot answer
        bool never = false; // holds a character the code page lacks
        bool byText = false;
    };
    bool matches(const Filter &filter, const char *record) const;

    const RecordSchema *m_schema;
    std::vector<Filter> m_filters; // cheapest field first; the order does not change the result
};

} // namespace Lists
