#include "songbook/Songbook.h"

#include "core/AtomicFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPdfWriter>

#include <podofo/podofo.h>

namespace songbook
{
namespace
{

// Qt writes the pages; PoDoFo, reading Qt's file back, adds what Qt's writer cannot: the outline.
QByteArray withOutline(const QByteArray &pdf, const QList<Bookmark> &bookmarks)
{
    using namespace PoDoFo;
    PdfError::EnableDebug(false);
    PdfError::EnableLogging(false);
    PdfMemDocument document;
    document.LoadFromBuffer(pdf.constData(), long(pdf.size()));
    const int pageCount = document.GetPageCount();
    PdfOutlines *outlines = document.GetOutlines(true);
    PdfOutlineItem *root = nullptr;
    PdfOutlineItem *last = nullptr;
    for (const Bookmark &b : bookmarks) {
        if (b.page < 0 || b.page >= pageCount)
            throw SongbookError(QStringLiteral("Attenzione: segnalibro fuori dal documento."));
        const QByteArray title = b.title.toUtf8();
        const PdfString text(reinterpret_cast<const pdf_utf8 *>(title.constData()));
        const PdfDestination destination(document.GetPage(b.page));
        if (b.level == 0 || !root) {
            root = outlines->CreateRoot(text);
            root->SetDestination(destination);
            last = nullptr;
        } else if (!last) {
            last = root->CreateChild(text, destination);
        } else {
            last = last->CreateNext(text, destination);
        }
    }
    document.SetPageMode(ePdfPageModeUseBookmarks);
    PdfRefCountedBuffer buffer;
    PdfOutputDevice device(&buffer);
    document.Write(&device);
    return QByteArray(buffer.GetBuffer(), qsizetype(device.GetLength()));
}

} // namespace

void writePdf(const Book &book, const QString &path, const QString &title)
{
    // A folder, a device or a pipe at that name is never replaced by the book.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        throw SongbookError(QStringLiteral("Attenzione: impossibile scrivere il file \"%1\": %2")
                                .arg(path, target.isDir() ? QStringLiteral("al suo posto c'è una cartella.")
                                                          : QStringLiteral("non è un file normale.")));
    QByteArray pages;
    {
        QBuffer buffer(&pages);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(600);
        writer.setPageLayout(book.report.pageLayout());
        writer.setCreator(QStringLiteral("Cantorium"));
        writer.setTitle(title);
        if (!report::paintPages(writer, book.report, 0, book.report.pageCount() - 1))
            throw SongbookError(QStringLiteral("Attenzione: impossibile preparare le pagine del canzoniere."));
    }
    QByteArray finished;
    try {
        finished = withOutline(pages, book.bookmarks);
    } catch (const PoDoFo::PdfError &e) {
        throw SongbookError(QStringLiteral("Attenzione: impossibile aggiungere i segnalibri al canzoniere (%1).")
                                .arg(QString::fromUtf8(PoDoFo::PdfError::ErrorMessage(e.GetError()))));
    }
    AtomicFile out(path);
    if (!out.open() || out.write(finished) != finished.size() || !out.commit())
        throw SongbookError(QStringLiteral("Attenzione: impossibile scrivere il file \"%1\".\n%2")
                                .arg(path, out.errorString()));
}

void makePdf(const QString &collectionPath, const QString &pdfPath, const Options &options, const QDate &date)
{
    const QFileInfo target(pdfPath);
    if (target.exists() && target.canonicalFilePath() == QFileInfo(collectionPath).canonicalFilePath())
        throw SongbookError(QStringLiteral("Attenzione: il PDF non può prendere il posto della collection \"%1\".")
                                .arg(collectionPath));
    QList<Song> songs = readSongs(collectionPath, options.selection);
    if (songs.isEmpty())
        throw SongbookError(options.selection.kind == Selection::Kind::Flagged
                                ? QStringLiteral("Attenzione: la collection non ha canzoni segnalate.")
                                : QStringLiteral("Attenzione: la collection non ha canzoni da stampare."));
    sortSongs(songs, options.order);
    const QString name = collectionName(collectionPath);
    writePdf(layOut(name, date, songs, options), pdfPath, QStringLiteral("Canzoniere - ") + name);
}

} // namespace songbook
