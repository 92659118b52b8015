// Renders the user guide, written in Markdown, to the A4 PDF shipped beside the program:
//   make_guide <Guida.md> <Guida.pdf>
#include <QFile>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QAbstractTextDocumentLayout>

#include <QFontMetricsF>

#include <cmath>
#include <cstdio>

namespace {

const QColor kHeading(0x1F, 0x4E, 0x79);
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

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
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

        // Lay the text out on the printable area (in the writer's device units), leaving
        // room at the foot of each page for its number.
        QPainter painter(&pdf);
        const QRectF page = pdf.pageLayout().paintRectPixels(pdf.resolution());
        const qreal footer = pdf.resolution() * 0.35; // inches of room for the page number
        doc.documentLayout()->setPaintDevice(&pdf);
        doc.setPageSize(QSizeF(page.width(), page.height() - footer));
        doc.setDocumentMargin(0);

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
