// Renders the user guide, written in Markdown, to the A4 PDF shipped beside the program:
//   make_guide <Guida.md> <Guida.pdf>
// A picture written as ![caption](finestra:<name>) is the program's own window <name> (see
// GuideWindows), opened offscreen on sample data and grabbed now, so the pictures never fall
// behind the program. Every window of the table must be shown somewhere in the guide.
#include "GuideWindows.h"

#include "app/Desktop.h"
#include "app/Startup.h"
#include "core/ProgramFolder.h"
#include "shell/WindowSet.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QUrl>
#include <QWidget>

#include <QFontMetricsF>

#include <cmath>
#include <cstdio>

namespace {

const QColor kHeading(0x1F, 0x4E, 0x79);
const QString kScheme = QStringLiteral("finestra:");
// Work windows are 1016 units wide; every picture is drawn at the scale that makes one of them
// fill the width of the text, so that the windows keep their sizes relative to each other.
constexpr qreal kWorkWidth = 1016;

// Nothing the windows do while they are posed may reach the user's desktop or wait for an answer.
class QuietDesktop : public Desktop
{
public:
    bool message(Kind, const QString &) override { return true; }
    QString openFileName(QWidget *, const QString &, const QString &, const FileFilters &) override
    {
        return {};
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const FileFilters &,
                         const QString &) override
    {
        return {};
    }
    void open(const QString &) override {}
    int runModal(QDialog *) override { return 0; }
};

// The window pictures the guide asks for, in the order it asks; an unknown name is an error.
QStringList pictureNames(const QTextDocument &doc, QString *unknown)
{
    QSet<QString> known;
    for (const GuideWindows::Entry &entry : GuideWindows::table())
        known.insert(QString::fromLatin1(entry.name));
    QStringList names;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QString name = format.toImageFormat().name();
            if (!name.startsWith(kScheme))
                continue;
            const QString window = name.mid(kScheme.size());
            if (!known.contains(window))
                *unknown = window;
            else if (!names.contains(window))
                names << window;
        }
    }
    return names;
}

// Opens each window of the table on sample data and hands its picture to the document.
// The text is `textWidth` device units wide; an image's size is given in units of 1/96 inch,
// which the layout multiplies by `deviceScale` (the device's resolution over 96).
bool addPictures(QTextDocument &doc, qreal textWidth, qreal deviceScale)
{
    QTemporaryDir samples;
    if (!samples.isValid())
        return false;
    ProgramFolder::setOverride(samples.path());
    QuietDesktop quiet;
    installDesktop(&quiet);

    GuideWindows::Stage stage;
    GuideWindows::writeSamples(stage);
    WindowSet windows;
    stage.windows = &windows;
    const qreal scale = textWidth / kWorkWidth;
    for (const GuideWindows::Entry &entry : GuideWindows::table()) {
        QWidget *window = entry.open(stage);
        const QImage picture = GuideWindows::grab(window);
        stage.perUse.reset();
        for (QWidget *w : QApplication::topLevelWidgets())
            w->hide();
        doc.addResource(QTextDocument::ImageResource, QUrl(kScheme + QString::fromLatin1(entry.name)),
                        QVariant(picture));
        // Each picture at the common scale, never wider than the text.
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                QTextImageFormat format = fragment.charFormat().toImageFormat();
                if (!format.isValid() || format.name() != kScheme + QString::fromLatin1(entry.name))
                    continue;
                const qreal width = qMin(textWidth, picture.width() * scale) / deviceScale;
                format.setWidth(width);
                format.setHeight(picture.height() * width / picture.width());
                QTextCursor cursor(&doc);
                cursor.setPosition(fragment.position());
                cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
                cursor.setCharFormat(format);
            }
        }
    }
    installDesktop(nullptr);
    ProgramFolder::setOverride(QString());
    return true;
}
const QColor kRule(0x46, 0x82, 0xB4);
constexpr qreal kMarginMm = 20;

// Markdown gives the structure; the look of headings, spacing and fonts is set here.
void style(QTextDocument &doc)
{
    QFont body(QStringLiteral("Liberation Serif"));
    body.setPointSizeF(11.5);
    doc.setDefaultFont(body);

    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QTextCursor cursor(block);
        QTextBlockFormat bf = block.blockFormat();
        const int level = bf.headingLevel();
        if (level > 0) {
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            QTextCharFormat cf;
            cf.setFontFamilies({QStringLiteral("Liberation Sans")});
            cf.setForeground(kHeading);
            cf.setFontWeight(QFont::Bold);
            cf.setFontPointSize(level == 1 ? 22 : level == 2 ? 15 : 12.5);
            cursor.mergeCharFormat(cf);
            cursor.clearSelection();
            bf.setTopMargin(level == 1 ? 0 : level == 2 ? 16 : 10);
            bf.setBottomMargin(level == 1 ? 10 : 6);
            cursor.setBlockFormat(bf);
        } else if (block.text() == QString(QChar::ObjectReplacementCharacter)) {
            // A paragraph that is only a picture: centred, with room around it.
            bf.setAlignment(Qt::AlignHCenter);
            bf.setTopMargin(8);
            bf.setBottomMargin(4);
            cursor.setBlockFormat(bf);
        } else {
            bf.setBottomMargin(qMax<qreal>(bf.bottomMargin(), 5));
            bf.setLineHeight(118, QTextBlockFormat::ProportionalHeight);
            if (!block.textList())
                bf.setAlignment(Qt::AlignJustify);
            cursor.setBlockFormat(bf);
        }
    }
}

// A heading never ends a page: one that would be followed by fewer than four lines of its
// text on the same page moves to the next page.
void keepHeadingsWithText(QTextDocument &doc, qreal lineHeight)
{
    const qreal pageHeight = doc.pageSize().height();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() < 2)
            continue;
        doc.pageCount(); // the layout must be complete after the last change
        const QRectF r = doc.documentLayout()->blockBoundingRect(block);
        const qreal pageEnd = (std::floor(r.top() / pageHeight) + 1) * pageHeight;
        if (r.bottom() + 4 * lineHeight > pageEnd) {
            QTextBlockFormat bf = block.blockFormat();
            bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(block).setBlockFormat(bf);
        }
    }
    // A change of format leaves the lazy layout part-done; redo it from the start.
    doc.markContentsDirty(0, doc.characterCount());
}

// A picture never runs over the end of a page, and its caption stays with it: a picture whose
// caption would not fit below it on the same page moves to the next page.
void keepPicturesWhole(QTextDocument &doc, qreal lineHeight)
{
    const qreal pageHeight = doc.pageSize().height();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.text() != QString(QChar::ObjectReplacementCharacter))
            continue;
        doc.pageCount(); // the layout must be complete after the last change
        const QRectF r = doc.documentLayout()->blockBoundingRect(block);
        const qreal pageEnd = (std::floor(r.top() / pageHeight) + 1) * pageHeight;
        if (r.bottom() + 2 * lineHeight > pageEnd && r.top() > pageEnd - pageHeight + 1) {
            QTextBlockFormat bf = block.blockFormat();
            bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(block).setBlockFormat(bf);
        }
    }
    doc.markContentsDirty(0, doc.characterCount());
}

} // namespace

int main(int argc, char **argv)
{
    useItalianDates();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cantorium"));
    installItalian();
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_guide <Guida.md> <Guida.pdf>\n");
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_guide: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString markdown = QString::fromUtf8(source.readAll());

    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "make_guide: cannot write %s\n", argv[2]);
        return 1;
    }
    {
        QPdfWriter pdf(&out);
        pdf.setTitle(QStringLiteral("Guida di Cantorium"));
        pdf.setCreator(QStringLiteral("Cantorium"));
        pdf.setResolution(300);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                      QPageLayout::Millimeter));

        QTextDocument doc;
        doc.setMarkdown(markdown);
        style(doc);
        QString unknown;
        const QStringList shown = pictureNames(doc, &unknown);
        if (!unknown.isEmpty()) {
            std::fprintf(stderr, "make_guide: the guide shows an unknown window \"%s\"\n",
                         qPrintable(unknown));
            return 1;
        }
        // A guide that shows windows shows them all; a text without pictures is rendered as it is.
        for (const GuideWindows::Entry &entry : GuideWindows::table()) {
            if (!shown.isEmpty() && !shown.contains(QString::fromLatin1(entry.name))) {
                std::fprintf(stderr, "make_guide: the guide does not show the window \"%s\"\n", entry.name);
                return 1;
            }
        }

        // Lay the text out on the printable area (in the writer's device units), leaving
        // room at the foot of each page for its number.
        QPainter painter(&pdf);
        const QRectF page = pdf.pageLayout().paintRectPixels(pdf.resolution());
        const qreal footer = pdf.resolution() * 0.35; // inches of room for the page number
        doc.documentLayout()->setPaintDevice(&pdf);
        doc.setPageSize(QSizeF(page.width(), page.height() - footer));
        doc.setDocumentMargin(0);
        if (!shown.isEmpty() && !addPictures(doc, page.width(), pdf.logicalDpiX() / 96.0)) {
            std::fprintf(stderr, "make_guide: cannot prepare the sample archives\n");
            return 1;
        }

        keepHeadingsWithText(doc, QFontMetricsF(doc.defaultFont(), &pdf).lineSpacing());
        keepPicturesWhole(doc, QFontMetricsF(doc.defaultFont(), &pdf).lineSpacing());
        // A picture that moved may have left a heading at the foot of the page before.
        keepHeadingsWithText(doc, QFontMetricsF(doc.defaultFont(), &pdf).lineSpacing());

        QFont numberFont(QStringLiteral("Liberation Sans"));
        numberFont.setPointSizeF(9);
        const int pages = doc.pageCount();
        for (int i = 0; i < pages; ++i) {
            if (i > 0)
                pdf.newPage();
            painter.save();
            const QRectF clip(0, i * doc.pageSize().height(), page.width(), doc.pageSize().height());
            painter.translate(0, -clip.top());
            // A picture that moved to the next page must not show its top at the foot of this one.
            painter.setClipRect(clip);
            QAbstractTextDocumentLayout::PaintContext ctx;
            ctx.clip = clip;
            ctx.palette.setColor(QPalette::Text, Qt::black);
            doc.documentLayout()->draw(&painter, ctx);
            painter.restore();

            painter.setPen(kRule);
            const qreal lineY = page.height() - footer * 0.7;
            painter.drawLine(QPointF(0, lineY), QPointF(page.width(), lineY));
            painter.setFont(numberFont);
            painter.setPen(Qt::darkGray);
            painter.drawText(QRectF(0, lineY, page.width(), footer * 0.7), Qt::AlignRight | Qt::AlignVCenter,
                             QStringLiteral("Guida di Cantorium - pagina %1 di %2").arg(i + 1).arg(pages));
        }
        if (!painter.end()) {
            std::fprintf(stderr, "make_guide: cannot render the PDF\n");
            return 1;
        }
    }
    if (!out.commit()) {
        std::fprintf(stderr, "make_guide: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
