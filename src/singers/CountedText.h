#pragma once

#include <QByteArray>
#include <QString>

// A counted text: one length byte, then `capacity` bytes of Windows-1252 text with no
// terminating zero. Singer cards and discographies are made of these fields.
namespace CountedText
{

// Writes `text` into the capacity + 1 bytes of `record` starting at `offset`: trimmed,
// converted to Windows-1252, cut to 255 bytes and then to the capacity. The bytes after the
// text are zeroed.
void store(QByteArray &record, int offset, int capacity, const QString &text);

// Reads the field at `offset`: converted and trimmed. A length byte above the capacity (never
// written by the program) is read as the capacity, so a reader never strays into the next field.
QString load(const QByteArray &record, int offset, int capacity);

} // namespace CountedText
