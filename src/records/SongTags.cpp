#include "records/SongTags.h"

#include "core/Text.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace SongTagMap
{

namespace
{
// A one-line field cannot hold line breaks or tabs: each run of them becomes one blank.
QString oneLine(const QString &text)
{
    QString out;
    out.reserve(text.size());
    bool gap = false;
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            gap = true;
            continue;
        }
        if (gap && !out.isEmpty())
            out += QLatin1Char(' ');
        gap = false;
        out += c;
    }
    return out;
}

QString memoLines(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // A zero would end the stored text early; other control characters have no place in a memo.
    text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != QLatin1Char('\n') && c != QLatin1Char('\t'); });
    return text;
}

// The values of a tag: its plain key, else keys with a description ("LYRICS:ENG",
// "COMMENT:ALBUM"), leaving out the players' own bookkeeping kept as comments ("iTunNORM").
QStringList valuesOf(const QMap<QString, QStringList> &properties, const QString &key)
{
    QStringList values;
    for (const QString &v : properties.value(key))
        if (!ctrim(v).isEmpty())
            values << v;
    if (!values.isEmpty())
        return values;
    const QString prefix = key + QLatin1Char(':');
    for (auto it = properties.lowerBound(prefix); it != properties.end() && it.key().startsWith(prefix); ++it) {
        if (it.key().mid(prefix.size()).startsWith(QLatin1String("ITUN"), Qt::CaseInsensitive))
            continue;
        for (const QString &v : it.value())
            if (!ctrim(v).isEmpty())
                values << v;
        if (!values.isEmpty())
            break;
    }
    return values;
}

QStringList firstValues(const SongTags &tags, const FieldInfo::Import &entry)
{
    for (const char *tag : entry.tags) {
        if (!tag)
            break;
        const QStringList values = valuesOf(tags.properties, QLatin1String(tag));
        if (!values.isEmpty())
            return values;
    }
    return {};
}

} // namespace

QString durationText(int milliseconds)
{
    if (milliseconds < 0)
        return QString();
    const int seconds = (milliseconds + 500) / 1000;
    const int h = seconds / 3600, m = (seconds / 60) % 60, s = seconds % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
}

QString yearOf(const QString &date)
{
    static const QRegularExpression year(QStringLiteral("(?<![0-9])([0-9]{4})(?![0-9])"));
    const QRegularExpressionMatch match = year.match(date);
    return match.hasMatch() ? match.captured(1) : QString();
}

SongCard cardFrom(const SongTags &tags, const QString &fileName)
{
    SongCard card;
    for (const FieldInfo &f : SongCard::fields()) {
        const FieldInfo::Import &entry = f.import;
        if (entry.rule == Rule::None)
            continue;
        const QStringList values = firstValues(tags, entry);
        QString text;
        switch (entry.rule) {
        case Rule::None:
            break;
        case Rule::Text:
            text = ctrim(oneLine(values.join(QStringLiteral(", "))));
            break;
        case Rule::Title:
            text = ctrim(oneLine(values.join(QStringLiteral(", "))));
            if (text.isEmpty())
                text = ctrim(oneLine(QFileInfo(fileName).completeBaseName()));
            break;
        case Rule::Memo:
            text = ctrim(memoLines(values.join(QStringLiteral("\n\n"))));
            break;
        case Rule::Year:
            for (const QString &v : values) {
                text = yearOf(v);
                if (!text.isEmpty())
                    break;
            }
            break;
        case Rule::Length:
            text = durationText(tags.lengthMilliseconds);
            break;
        case Rule::NotFlagged:
            text = SongCard::flagText(false);
            break;
        }
        card.setText(f.field, text);
    }
    return card;
}

Fit fitOf(SongCard::Field field, const QString &text)
{
    const RecordSchema::Field &f = SongCard::schema().field(int(field));
    const bool memo = f.codec == RecordSchema::Codec::ZeroMemo;
    QString stored = text;
    if (memo)
        stored.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    const QByteArray bytes = Ansi::fromUnicode(stored);
    Fit fit;
    fit.cut = bytes.size() > f.capacity();
    fit.bestFit = Ansi::toUnicode(bytes) != stored;
    return fit;
}

SongCard asStored(const SongCard &card)
{
    return SongCard::decode(card.encode());
}

QString sameSongKey(const QString &title, const QString &singer)
{
    return ctrim(title).toCaseFolded() + QChar(0x1F) + ctrim(singer).toCaseFolded();
}

} // namespace SongTagMap
