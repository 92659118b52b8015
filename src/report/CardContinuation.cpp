#include "report/ReportLayout.h"

#include <QFontMetricsF>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace report
{
namespace
{

constexpr double kEpsilon = 0.001;
// Lines are wrapped this much narrower than their box: devices round glyph advances differently.
constexpr double kWrapSpare = 2;
// A word-wrapped box is painted by the device's own text layout, which moves every line after
// the first down to a whole pixel of the device. The fit is measured on a 300 dpi device (the
// coarsest printer; previews and PDFs paint finer) with that pixel to spare on every line, so
// that the first page never shows half a line that then continues.
constexpr int kFitDpi = 300;

// The following pages, in report units from the paper's corner: the width of the card's frame.
constexpr double kLeft = 41.57, kWidth = 710.55, kTop = 41.57;
constexpr double kHeadingHeight = 30.24, kBarHeight = 21.92, kPad = 3.78, kGap = 11.34;
constexpr double kFooterTop = 1065.07, kFooterHeight = 22.68;

const QColor kBeige = QColor::fromRgba(0xFFF5F5DC);

struct Rest {
    QRectF box; // where the text stood on the first page, for the reading order
    QString caption;
    QString text;
};

// The characters of a word-wrapped text whose lines the box shows wholly on every device, or -1
// when it shows all of them.
qsizetype wrappedFit(const ReportObject &o)
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(qRound(kFitDpi / 0.0254));
        image.setDotsPerMeterY(qRound(kFitDpi / 0.0254));
        return image;
    }();
    const double k = kFitDpi / 96.0;
    const QFont font(objectFont(o), &device);
    QString text = o.text();
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(text, font, &device);
    QTextOption option(Qt::Alignment(int(o.hAlign)));
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    const double leading = QFontMetricsF(font, &device).leading();
    const double height = o.rect.height() * k;
    double y = 0;
    qsizetype shown = 0;
    bool all = true;
    layout.beginLayout();
    for (int i = 0;; ++i) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(o.rect.width() * k);
        if (i > 0)
            y += leading + 1;
        const double bottom = y + line.height();
        if (bottom > height + kEpsilon) {
            all = false;
            break;
        }
        shown = line.textStart() + line.textLength();
        y = bottom;
    }
    layout.endLayout();
    return all ? -1 : shown;
}

// True when a text printed on one line in its box is cut at an edge.
bool singleLineCut(const ReportObject &o)
{
    if (o.lines.size() * linePitch(o) > o.rect.height() + kEpsilon && o.lines.size() > 1)
        return true;
    const QFont font = objectFont(o);
    return std::any_of(o.lines.cbegin(), o.lines.cend(), [&](const QString &line) {
        return textWidth(font, line) > o.rect.width() - kWrapSpare / 2;
    });
}

ReportObject textItem(const QRectF &box, double points, bool bold, const QColor &colour)
{
    ReportObject t;
    t.kind = ObjectKind::Text;
    t.rect = box;
    t.family = QStringLiteral("Arial");
    t.points = points;
    t.bold = bold;
    t.colour = colour;
    t.vAlign = VAlign::Centre;
    return t;
}

// Lays the rests out on pages after the first.
class Following
{
public:
    Following(const QString &heading, const QColor &colour)
        : m_heading(heading)
        , m_colour(colour)
    {
        m_body = textItem(QRectF(), 8, false, Qt::black);
        m_body.vAlign = VAlign::Top;
        m_pitch = linePitch(m_body);
    }

    void add(const Rest &rest)
    {
        const QStringList lines = wrapLines(rest.text, objectFont(m_body), kWidth - 2 * kPad);
        if (m_pages.isEmpty() || m_y + kBarHeight + m_pitch + 2 * kPad > bottom())
            newPage();
        bar(rest.caption);
        qsizetype done = 0;
        while (done < lines.size()) {
            qsizetype fit = qsizetype(std::floor((bottom() - m_y - 2 * kPad) / m_pitch + kEpsilon));
            if (fit <= 0) {
                newPage();
                bar(rest.caption + QStringLiteral(" (segue)"));
                continue;
            }
            fit = std::min(fit, lines.size() - done);
            const double height = fit * m_pitch + 2 * kPad;
            page().items.append(shapeObject(QRectF(kLeft, m_y, kWidth, height), kBeige));
            ReportObject text = m_body;
            text.rect = QRectF(kLeft + kPad, m_y + kPad, kWidth - 2 * kPad, fit * m_pitch);
            text.lines = lines.mid(done, fit);
            page().items.append(text);
            m_y += height;
            done += fit;
        }
        m_y += kGap;
    }

    // The pages, each with its footer, numbered after `before` pages.
    QList<ReportPage> pages(int before)
    {
        const int total = before + int(m_pages.size());
        for (int i = 0; i < m_pages.size(); ++i) {
            ReportObject rule;
            rule.kind = ObjectKind::HLine;
            rule.rect = QRectF(kLeft, kFooterTop - kPad, kWidth, 0);
            m_pages[i].items.append(rule);
            ReportObject footer = textItem(QRectF(kLeft, kFooterTop, kWidth, kFooterHeight), 8, false, Qt::black);
            footer.name = QStringLiteral("txtPagina");
            footer.hAlign = Qt::AlignHCenter;
            footer.lines = {QStringLiteral("pagina %1 di %2").arg(before + i + 1).arg(total)};
            m_pages[i].items.append(footer);
        }
        return m_pages;
    }

private:
    static double bottom() { return kFooterTop - kGap; }
    ReportPage &page() { return m_pages.last(); }

    void newPage()
    {
        m_pages.append(ReportPage());
        page().items.append(shapeObject(QRectF(kLeft, kTop, kWidth, kHeadingHeight), m_colour));
        ReportObject heading =
            textItem(QRectF(kLeft + 2 * kPad, kTop, kWidth - 4 * kPad, kHeadingHeight), 11, true, Qt::white);
        heading.name = QStringLiteral("txtSeguito");
        const QString suffix = QStringLiteral(" — seguito");
        const QFont font = objectFont(heading);
        const QString title = QFontMetricsF(font, &unitDevice())
                                  .elidedText(m_heading, Qt::ElideRight,
                                              heading.rect.width() - kWrapSpare - textWidth(font, suffix));
        heading.lines = {title + suffix};
        page().items.append(heading);
        m_y = kTop + kHeadingHeight + kGap;
    }

    void bar(const QString &caption)
    {
        page().items.append(shapeObject(QRectF(kLeft, m_y, kWidth, kBarHeight), m_colour));
        ReportObject text =
            textItem(QRectF(kLeft + kPad, m_y, kWidth - 2 * kPad, kBarHeight), 9, true, Qt::white);
        text.lines = {caption};
        page().items.append(text);
        m_y += kBarHeight;
    }

    QString m_heading;
    QColor m_colour;
    ReportObject m_body;
    double m_pitch = 0;
    double m_y = 0;
    QList<ReportPage> m_pages;
};

} // namespace

ReportObject shapeObject(const QRectF &box, const QColor &fill)
{
    ReportObject s;
    s.kind = ObjectKind::Shape;
    s.rect = box;
    s.fill = fill;
    return s;
}

QStringList wrapLines(const QString &text, const QFont &font, double width)
{
    QPaintDevice *device = const_cast<QPaintDevice *>(&unitDevice());
    const QFont f(font, device);
    const double room = std::max(1.0, width - kWrapSpare);
    QString all = text;
    all.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    all.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList out;
    const QFontMetricsF metrics(f, device);
    for (const QString &paragraph : all.split(QLatin1Char('\n'))) {
        if (metrics.horizontalAdvance(paragraph) <= room) {
            out.append(paragraph);
            continue;
        }
        QTextLayout layout(paragraph, f, device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (;;) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(room);
            QString piece = paragraph.mid(line.textStart(), line.textLength());
            while (!piece.isEmpty() && piece.back().isSpace())
                piece.chop(1);
            out.append(piece);
        }
        layout.endLayout();
    }
    return out;
}

double textWidth(const QFont &font, const QString &text)
{
    QPaintDevice *device = const_cast<QPaintDevice *>(&unitDevice());
    return QFontMetricsF(QFont(font, device), device).horizontalAdvance(text);
}

void continueCard(const ReportTemplate &tmpl, PreparedReport &report)
{
    if (report.pages.isEmpty())
        return;
    QString title;
    QList<Rest> rests;
    for (ReportObject &item : report.pages.first().items) {
        if (item.kind != ObjectKind::Text)
            continue;
        if (sameName(item.name, tmpl.continuedTitle))
            title = item.text();
        if (item.caption.isEmpty())
            continue;
        if (item.wordWrap) {
            const qsizetype shown = wrappedFit(item);
            if (shown < 0)
                continue;
            const QString text = item.text();
            QString first = text.left(shown);
            // The line break that ends the last line shown belongs to neither page.
            if (first.endsWith(QLatin1Char('\n')))
                first.chop(1);
            QString rest = text.mid(shown);
            while (!rest.isEmpty() && rest.front() == QLatin1Char(' '))
                rest.remove(0, 1);
            item.setText(first);
            rests.append({item.rect, item.caption, rest});
        } else if (singleLineCut(item)) {
            // The first page keeps the cut line as designed; the next shows it whole.
            rests.append({item.rect, item.caption, item.text()});
        }
    }
    if (rests.isEmpty())
        return;
    std::stable_sort(rests.begin(), rests.end(), [](const Rest &a, const Rest &b) {
        return a.box.top() < b.box.top() - kEpsilon ||
               (std::abs(a.box.top() - b.box.top()) <= kEpsilon && a.box.left() < b.box.left());
    });
    Following following(title.isEmpty() ? tmpl.name : title, tmpl.continuedColour);
    for (const Rest &rest : rests)
        following.add(rest);
    report.pages.append(following.pages(1));
}

} // namespace report
