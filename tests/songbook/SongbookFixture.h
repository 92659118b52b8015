#pragma once

#include "records/SongCard.h"

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <podofo/podofo.h>

// A small collection written by hand for the songbook tests, and readers of the PDF it becomes.
namespace fixture
{

struct Card {
    const char *title, *singer, *authors, *year;
    int lyrics, translation; // numbered lines "<title> L01", "<title> T01"
    bool flagged;
};

inline QString lines(const QString &prefix, int count)
{
    QStringList out;
    for (int i = 1; i <= count; ++i)
        out.append(QStringLiteral("%1%2").arg(prefix).arg(i, 2, 10, QLatin1Char('0')));
    return out.join(QStringLiteral("\r\n"));
}

inline SongCard card(const Card &c)
{
    SongCard s;
    s.setText(SongCard::Titolo, QString::fromUtf8(c.title));
    s.setText(SongCard::Cantante, QString::fromUtf8(c.singer));
    s.setText(SongCard::Autori, QString::fromUtf8(c.authors));
    s.setText(SongCard::Anno, QString::fromUtf8(c.year));
    const QString tag = QString::fromUtf8(c.title).section(QLatin1Char(' '), 0, 0);
    s.setText(SongCard::Testo, lines(tag + QStringLiteral(" L"), c.lyrics).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    s.setText(SongCard::Storia, lines(tag + QStringLiteral(" T"), c.translation).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    s.setText(SongCard::Segnala, SongCard::flagText(c.flagged));
    return s;
}

// Stored order differs from title and singer order on purpose.
inline const QList<Card> &cards()
{
    static const QList<Card> all = {
        {"Zefiro notturno", "Mina", "Bracardi", "1961", 12, 12, true},
        {"Azzurro", "Adriano Celentano", "Conte, Pallavicini", "1968", 20, 18, false},
        {"Lunga strada", "Lucio Dalla", "Dalla", "1979", 140, 140, true},
        {"Mare calmo", "Mina", "Anonimo", "1970", 8, 0, false},
        {"Bocca di rosa", "Fabrizio De André", "De André", "1967", 30, 27, false},
        {"Canto breve", "Adriano Celentano", "", "", 4, 4, false},
    };
    return all;
}

// Writes the collection file; false when it cannot.
inline bool write(const QString &path, const QList<Card> &list = cards())
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (const Card &c : list)
        if (f.write(card(c).encode()) != SongCard::kSize)
            return false;
    return true;
}

// The text of each page, as pdftotext -layout reads it; empty when it cannot.
inline QStringList pdfPages(const QString &path)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    if (!info.waitForFinished(60000) || info.exitCode() != 0)
        return {};
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    const int count = text.section(QStringLiteral("Pages:"), 1).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QChar(0x0C));
    if (pages.size() == count + 1 && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages.size() == count ? pages : QStringList();
}

struct Mark {
    QString title;
    int page; // 1-based
    int depth;
};

inline void walk(PoDoFo::PdfMemDocument &doc, PoDoFo::PdfOutlineItem *item, int depth, QList<Mark> &out)
{
    for (; item; item = item->Next()) {
        PoDoFo::PdfDestination *d = item->GetDestination(&doc);
        PoDoFo::PdfPage *page = d ? d->GetPage(&doc) : nullptr;
        out.append({QString::fromUtf8(item->GetTitle().GetStringUtf8().c_str()),
                    page ? int(page->GetPageNumber()) : 0, depth});
        walk(doc, item->First(), depth + 1, out);
    }
}

// The PDF's outline, read with PoDoFo, in document order.
inline QList<Mark> outline(const QString &path)
{
    PoDoFo::PdfError::EnableDebug(false);
    PoDoFo::PdfError::EnableLogging(false);
    PoDoFo::PdfMemDocument doc;
    doc.Load(path.toLocal8Bit().constData());
    QList<Mark> out;
    PoDoFo::PdfOutlines *root = doc.GetOutlines(false);
    if (root)
        walk(doc, root->First(), 0, out);
    return out;
}

} // namespace fixture
