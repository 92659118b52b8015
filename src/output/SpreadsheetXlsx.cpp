#include "output/SpreadsheetWriter.h"

#include "core/FileError.h"
#include "core/ScratchFolder.h"
#include "core/Text.h"

#include <QDir>
#include <QFile>

#include <xlsxwriter.h>
#include <zlib.h>

#include <cstring>

namespace
{

quint32 le16(const char *at)
{
    const auto *u = reinterpret_cast<const unsigned char *>(at);
    return quint32(u[0]) | quint32(u[1]) << 8;
}

quint32 le32(const char *at)
{
    return le16(at) | le16(at + 2) << 16;
}

// True when an XML part ends with the closing tag of the element it opens with.
bool xmlIsWhole(const QByteArray &xml)
{
    qsizetype at = 0;
    while ((at = xml.indexOf('<', at)) >= 0 && at + 1 < xml.size() &&
           (xml.at(at + 1) == '?' || xml.at(at + 1) == '!'))
        ++at;
    if (at < 0)
        return false;
    qsizetype end = at + 1;
    while (end < xml.size() && !strchr(" \t\r\n/>", xml.at(end)))
        ++end;
    const QByteArray root = xml.mid(at + 1, end - at - 1);
    const QByteArray trimmed = xml.trimmed();
    return !root.isEmpty() && trimmed.endsWith("</" + root + ">");
}

} // namespace

// Reads the workbook back: every part listed, of the size and checksum the archive says, and every
// XML part complete. The library does not notice when its temporary files or its output cannot be
// written (a full disk): it reports success over a cut worksheet, or a cut archive.
bool SpreadsheetWriter::xlsxIsWhole(const QByteArray &zip)
{
    // The end-of-archive record, possibly followed by a comment.
    const qsizetype endRecord = zip.lastIndexOf(QByteArrayView("PK\x05\x06", 4));
    if (endRecord < 0 || zip.size() - endRecord < 22)
        return false;
    const char *data = zip.constData();
    const quint32 entries = le16(data + endRecord + 10);
    qsizetype entry = le32(data + endRecord + 16);
    if (entries == 0)
        return false;
    for (quint32 i = 0; i < entries; ++i) {
        if (entry < 0 || entry + 46 > endRecord || le32(data + entry) != 0x02014b50)
            return false;
        const quint32 method = le16(data + entry + 10);
        const quint32 crc = le32(data + entry + 16);
        const qsizetype packed = le32(data + entry + 20);
        const qsizetype size = le32(data + entry + 24);
        const qsizetype nameLength = le16(data + entry + 28);
        if (entry + 46 + nameLength > endRecord)
            return false;
        const QByteArray name(data + entry + 46, nameLength);
        const qsizetype local = le32(data + entry + 42);
        entry += 46 + nameLength + le16(data + entry + 30) + le16(data + entry + 32);
        if (local + 30 > zip.size() || le32(data + local) != 0x04034b50)
            return false;
        const qsizetype start = local + 30 + le16(data + local + 26) + le16(data + local + 28);
        // Deflate packs at most about 1032 to 1: a larger declared size is not this library's.
        if (start + packed > zip.size() || size > packed * 1032 + 64)
            return false;
        QByteArray part(size, Qt::Uninitialized);
        if (method == 0) {
            if (packed != size)
                return false;
            std::memcpy(part.data(), data + start, size_t(size));
        } else if (method == Z_DEFLATED) {
            z_stream stream{};
            if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
                return false;
            stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data + start));
            stream.avail_in = uInt(packed);
            stream.next_out = reinterpret_cast<Bytef *>(part.data());
            stream.avail_out = uInt(size);
            const int result = inflate(&stream, Z_FINISH);
            const bool complete = result == Z_STREAM_END && stream.total_out == uLong(size);
            inflateEnd(&stream);
            if (!complete)
                return false;
        } else {
            return false;
        }
        if (crc32(0, reinterpret_cast<const Bytef *>(part.constData()), uInt(size)) != crc)
            return false;
        if ((name.endsWith(".xml") || name.endsWith(".rels")) && !xmlIsWhole(part))
            return false;
    }
    return true;
}

namespace
{

// Spreadsheet programs read "_x0041_" in a cell as the escape of "A": the underscore that opens
// such a sequence is itself escaped, so the text reads back as written.
void escapeEscapes(QByteArray &text)
{
    qsizetype at = text.indexOf("_x");
    if (at < 0)
        return;
    auto hex = [](char c) { return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); };
    QByteArray out;
    qsizetype from = 0;
    bool found = false;
    for (; at >= 0; at = text.indexOf("_x", at + 1)) {
        if (at + 7 <= text.size() && hex(text[at + 2]) && hex(text[at + 3]) && hex(text[at + 4]) &&
            hex(text[at + 5]) && text[at + 6] == '_') {
            out.append(text.constData() + from, at - from);
            out.append("_x005F");
            from = at;
            found = true;
        }
    }
    if (!found)
        return;
    out.append(text.constData() + from, text.size() - from);
    text = out;
}

// Frees the workbook however the writing ends.
struct Workbook {
    lxw_workbook *book;
    ~Workbook()
    {
        if (book)
            workbook_close(book);
    }
    lxw_error close()
    {
        const lxw_error error = workbook_close(book);
        book = nullptr;
        return error;
    }
};

void check(lxw_error error)
{
    if (error != LXW_NO_ERROR)
        throw FileError(QString::fromUtf8(lxw_strerror(error)));
}

} // namespace

namespace SpreadsheetWriter
{

void saveXlsx(const QString &path, const QString &sheetName, const QList<Column> &columns, int rowCount,
              const CellBytes &cell)
{
    // The library writes only to a named file, through temporary files of its own: both go to a
    // folder of the program's own, which a later start removes if this run is killed meanwhile;
    // the finished workbook replaces `path` as the other formats do.
    ScratchFolder scratch;
    const QString builtPath = scratch.filePath(QStringLiteral("workbook.xlsx"));
    const QByteArray builtName = QFile::encodeName(builtPath);
    QByteArray scratchName = QFile::encodeName(scratch.path());

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // rows go to disk as they are written
    options.tmpdir = scratchName.data();
    Workbook workbook{workbook_new_opt(builtName.constData(), &options)};
    if (!workbook.book)
        throw FileError(QStringLiteral("Cannot start the workbook"));
    lxw_worksheet *sheet = workbook_add_worksheet(workbook.book, sheetName.toUtf8().constData());
    if (!sheet)
        throw FileError(QStringLiteral("Cannot add the worksheet"));

    // Every cell in the built-in text number format ("@"), so that a cell edited later stays text.
    constexpr uint8_t kTextFormat = 49;
    lxw_format *header = workbook_add_format(workbook.book);
    format_set_bold(header);
    format_set_num_format_index(header, kTextFormat);
    lxw_format *text = workbook_add_format(workbook.book);
    format_set_num_format_index(text, kTextFormat);
    lxw_format *lines = workbook_add_format(workbook.book);
    format_set_num_format_index(lines, kTextFormat);
    format_set_text_wrap(lines);

    const int width = int(columns.size());
    for (int column = 0; column < width; ++column) {
        check(worksheet_set_column_pixels(sheet, lxw_col_t(column), lxw_col_t(column),
                                          uint32_t(columns.at(column).width), nullptr));
        QByteArray title = cellUtf8(Ansi::fromUnicode(columns.at(column).header));
        escapeEscapes(title);
        check(worksheet_write_string(sheet, 0, lxw_col_t(column), title.constData(), header));
    }
    QByteArray value;
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 0; column < width; ++column) {
            value = cellUtf8(cell(row, column));
            if (value.isEmpty())
                continue;
            escapeEscapes(value);
            check(worksheet_write_string(sheet, lxw_row_t(row + 1), lxw_col_t(column), value.constData(),
                                         value.contains('\n') ? lines : text));
        }
    }
    worksheet_freeze_panes(sheet, 1, 0);
    check(worksheet_autofilter(sheet, 0, 0, lxw_row_t(rowCount), lxw_col_t(width - 1)));
    check(workbook.close());

    QFile built(builtPath);
    if (!built.open(QIODevice::ReadOnly))
        throw FileError(built.errorString());
    const QByteArray bytes = built.readAll();
    built.close();
    if (!xlsxIsWhole(bytes))
        throw FileError(QStringLiteral("The workbook was not written whole"));
    save(path, bytes);
}

} // namespace SpreadsheetWriter
