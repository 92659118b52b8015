#include "collections/SongCard.h"

#include "core/Text.h"

#include <cstring>

const std::array<SongCard::Field, SongCard::kFieldCount> &SongCard::fields()
{
    // clang-format off
    static const std::array<Field, kFieldCount> table = {{
        {"Titolo", 0, 121, &SongCard::Titolo, false},
        {"Cantante", 121, 121, &SongCard::Cantante, false},
        {"Album", 242, 121, &SongCard::Album, false},
        {"Genere", 363, 51, &SongCard::Genere, false},
        {"Autori", 414, 251, &SongCard::Autori, false},
        {"Nazione", 665, 51, &SongCard::Nazione, false},
        {"Anno", 716, 31, &SongCard::Anno, false},
        {"Premi", 747, 251, &SongCard::Premi, false},
        {"Casa", 998, 51, &SongCard::Casa, false},
        {"Durata", 1049, 31, &SongCard::Durata, false},
        {"Testo", 1080, 5001, &SongCard::Testo, true},
        {"Storia", 6081, 5001, &SongCard::Storia, true},
        {"Sito", 11082, 251, &SongCard::Sito, false},
        {"Musica", 11333, 251, &SongCard::Musica, false},
        {"Note", 11584, 251, &SongCard::Note, false},
        {"Segnala", 11835, 3, &SongCard::Segnala, false},
        {"File01", 11838, 251, &SongCard::File01, false},
        {"File02", 12089, 251, &SongCard::File02, false},
        {"File03", 12340, 251, &SongCard::File03, false},
        {"Desc01", 12591, 251, &SongCard::Desc01, false},
        {"Desc02", 12842, 251, &SongCard::Desc02, false},
        {"Desc03", 13093, 251, &SongCard::Desc03, false},
    }};
    // clang-format on
    return table;
}

namespace
{
const QString &yes()
{
    static const QString text = QStringLiteral("S\u00EC");
    return text;
}
const QString &no()
{
    static const QString text = QStringLiteral("No");
    return text;
}
} // namespace

SongCard::Flag SongCard::flag() const
{
    const QString text = ctrim(Segnala);
    if (text == yes())
        return Flag::Flagged;
    if (text == no())
        return Flag::NotFlagged;
    return Flag::Neither;
}

QString SongCard::flagText(bool flagged)
{
    return flagged ? yes() : no();
}

void SongCard::storeText(char *at, int width, const QString &text, bool memo)
{
    QByteArray bytes;
    if (memo) {
        QString lines = text;
        lines.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        bytes = Ansi::fromUnicode(lines);
    } else {
        bytes = Ansi::fromUnicode(text);
    }
    const int n = int(qMin<qsizetype>(bytes.size(), width - 1));
    std::memcpy(at, bytes.constData(), size_t(n));
    at[n] = '\0';
}

QString SongCard::loadText(const char *at, int width, bool memo)
{
    const void *zero = std::memchr(at, 0, size_t(width));
    const int n = zero ? int(static_cast<const char *>(zero) - at) : width;
    // Outside 0x80-0x9F Windows-1252 is Latin-1, and Qt converts Latin-1 in bulk; the scans of
    // the searches and exports spend most of their time here.
    bool latin1 = true;
    for (int i = 0; i < n && latin1; ++i) {
        const auto b = static_cast<unsigned char>(at[i]);
        latin1 = b < 0x80 || b >= 0xA0;
    }
    QString text = latin1 ? QString::fromLatin1(at, n) : Ansi::toUnicode(at, n);
    if (memo)
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

QByteArray SongCard::encode() const
{
    QByteArray record(kSize, '\0');
    for (const Field &f : fields())
        storeText(record.data() + f.offset, f.width, this->*f.member, f.memo);
    return record;
}

SongCard SongCard::decode(const char *record)
{
    SongCard card;
    for (const Field &f : fields())
        card.*f.member = loadText(record + f.offset, f.width, f.memo);
    return card;
}

SongCard SongCard::decode(const QByteArray &record)
{
    Q_ASSERT(record.size() == kSize);
    return decode(record.constData());
}

bool SongCard::operator==(const SongCard &other) const
{
    for (const Field &f : fields())
        if (this->*f.member != other.*f.member)
            return false;
    return true;
}
