#pragma once

#include <QByteArray>
#include <QString>
#include <QAnyStringView>

#include <array>
#include <cstring>

// The layout of a fixed-size archive record as data: its text fields in record order, each with
// its name, place, width and text codec. One codec walks the table for every record type, and
// whatever shows, searches, exports or prints fields can walk the same table.
class RecordSchema
{
public:
    enum class Codec {
        ZeroText, // Windows-1252 bytes up to the first zero (all of them when there is none), untrimmed
        ZeroMemo, // the same, with each line break stored as CR LF
        Counted,  // a length byte, then the bytes; trimmed when stored and when read
    };

    struct Field {
        const char *name; // the editor control's name without its prefix
        int offset;       // from the start of the record
        int width;        // bytes the field takes in the record
        Codec codec;

        // The most bytes of text the field keeps: one byte goes to the terminating zero or to the
        // length byte.
        constexpr int capacity() const { return width - 1; }
    };

    // A zero-terminated field of `width` bytes, zero included.
    static constexpr Field zeroText(const char *name, int offset, int width)
    {
        return {name, offset, width, Codec::ZeroText};
    }
    static constexpr Field zeroMemo(const char *name, int offset, int width)
    {
        return {name, offset, width, Codec::ZeroMemo};
    }
    // A counted field of `capacity` text bytes after its length byte.
    static constexpr Field counted(const char *name, int offset, int capacity)
    {
        return {name, offset, capacity + 1, Codec::Counted};
    }

    // True when the fields lie back to back from byte 0, without gaps, and fill `size` bytes; a
    // counted field's length byte cannot say more than 255.
    template <size_t N> static constexpr bool tiles(const std::array<Field, N> &fields, int size)
    {
        int next = 0;
        for (const Field &f : fields) {
            if (f.offset != next || f.width < 2)
                return false;
            if (f.codec == Codec::Counted && f.capacity() > 255)
                return false;
            next += f.width;
        }
        return next == size;
    }

    // `fields` must outlive the schema (a static table).
    template <size_t N>
    constexpr RecordSchema(int size, const std::array<Field, N> &fields)
        : m_size(size)
        , m_fields(fields.data())
        , m_count(int(N))
    {
    }

    int size() const { return m_size; }
    int count() const { return m_count; }
    const Field &field(int index) const { return m_fields[index]; }
    // The index of the field called `name` ("Titolo", "Nome"...), or -1.
    int indexOf(QAnyStringView name) const;
    const Field *begin() const { return m_fields; }
    const Field *end() const { return m_fields + m_count; }

    // `texts` holds count() texts in record order; the record is size() bytes, zero where no
    // text lies.
    QByteArray encode(const QString *texts) const;
    // `record` holds size() bytes; every field is read into texts[index].
    void decode(const char *record, QString *texts) const;

    // A field's text bytes as the record holds them, before any conversion: up to the first zero
    // of a zero-terminated field (its whole width without one), the counted bytes of a counted
    // field (a length byte above the capacity reads as the capacity, so a reader never strays
    // into the next field). Every reader of stored bytes takes them from here.
    struct Bytes {
        const char *data;
        int size;
    };
    // `at` points to the field's first byte in a record.
    static Bytes bytesOf(const char *at, const Field &field)
    {
        if (field.codec != Codec::Counted) {
            const void *zero = std::memchr(at, 0, size_t(field.width));
            return {at, zero ? int(static_cast<const char *>(zero) - at) : field.width};
        }
        const int n = static_cast<unsigned char>(at[0]);
        return {at + 1, n < field.capacity() ? n : field.capacity()};
    }
    // The bytes without the bytes up to 0x20 at either end: the trim of the text they hold.
    static Bytes trimmed(Bytes b)
    {
        while (b.size > 0 && static_cast<unsigned char>(*b.data) <= 0x20) {
            ++b.data;
            --b.size;
        }
        while (b.size > 0 && static_cast<unsigned char>(b.data[b.size - 1]) <= 0x20)
            --b.size;
        return b;
    }

    // One field's codec: `at` points to the field's first byte in a record.
    static void store(char *at, const Field &field, const QString &text);
    static QString load(const char *at, const Field &field);

private:
    int m_size;
    const Field *m_fields;
    int m_count;
};

// The texts of one record, one per schema field, for a record type `Record` that provides
// `static const RecordSchema &schema()` and `kSize`. Access by index (a schema walk) or by name;
// each record type adds access by its own field enum.
template <class Record, int N> class RecordTexts
{
public:
    static constexpr int kFieldCount = N;

    QString text(int index) const { return m_texts.at(size_t(index)); }
    void setText(int index, const QString &value) { m_texts.at(size_t(index)) = value; }
    // An unknown name reads as empty and stores nothing (false).
    QString text(const QString &name) const
    {
        const int index = Record::schema().indexOf(name);
        return index < 0 ? QString() : text(index);
    }
    bool setText(const QString &name, const QString &value)
    {
        const int index = Record::schema().indexOf(name);
        if (index < 0)
            return false;
        setText(index, value);
        return true;
    }

    // Exactly Record::kSize bytes.
    QByteArray encode() const { return Record::schema().encode(m_texts.data()); }
    // `record` must hold Record::kSize bytes.
    static Record decode(const QByteArray &record)
    {
        Q_ASSERT(record.size() == Record::kSize);
        return decode(record.constData());
    }
    static Record decode(const char *record)
    {
        Record r;
        Record::schema().decode(record, static_cast<RecordTexts &>(r).m_texts.data());
        return r;
    }

    bool operator==(const RecordTexts &other) const { return m_texts == other.m_texts; }
    bool operator!=(const RecordTexts &other) const { return m_texts != other.m_texts; }

private:
    std::array<QString, N> m_texts;
};
