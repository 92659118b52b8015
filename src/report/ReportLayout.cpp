#include "report/ReportLayout.h"

#include "app/AppFormats.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QtMath>

#include <cmath>

namespace report
{
namespace
{

constexpr double kEpsilon = 0.001;

ReportObject placed(const ReportObject &o, double dx, double dy)
{
    ReportObject item = o;
    item.rect.translate(dx, dy);
    return item;
}

// The children of a band, in template order.
QList<const ReportObject *> childrenOf(const ReportTemplate &t, const QString &band)
{
    QList<const ReportObject *> out;
    for (const ReportObject &o : t.objects)
        if (!o.isBand() && sameName(o.band, band))
            out.append(&o);
    return out;
}

class Layout
{
public:
    Layout(const ReportTemplate &t, PreparedReport &r)
        : m_tmpl(t)
        , m_report(r)
        , m_area(t.printableRect())
    {
        newPage();
    }

    void pageObjects()
    {
        for (const ReportObject &o : m_tmpl.objects)
            if (!o.isBand() && o.band.isEmpty())
                m_report.pages.first().items.append(placed(o, m_area.left(), m_area.top()));
    }

    void band(const ReportObject &b)
    {
        const auto children = childrenOf(m_tmpl, b.name);
        if (b.kind == ObjectKind::DataBand) {
            dataBand(b, children);
            return;
        }
        if (b.kind == ObjectKind::FooterBand && b.rect.height() > m_bottom() - m_y + kEpsilon &&
            m_y > m_area.top() + kEpsilon)
            newPage();
        for (const ReportObject *c : children)
            page().items.append(placed(*c, m_area.left(), m_y));
        m_y += b.rect.height();
    }

private:
    double m_bottom() const { return m_area.bottom(); }
    ReportPage &page() { return m_report.pages.last(); }

    void newPage()
    {
        m_report.pages.append(ReportPage());
        m_y = m_area.top();
    }

    // Places the part [from, to) of a data band at the current position.
    void fragment(const QList<const ReportObject *> &children, double from, double to)
    {
        for (const ReportObject *c : children) {
            if (c->kind != ObjectKind::Text) {
                if (c->rect.top() >= from - kEpsilon && c->rect.top() < to - kEpsilon)
                    page().items.append(placed(*c, m_area.left(), m_y - from));
                continue;
            }
            const double pitch = linePitch(*c);
            const double top = std::max(c->rect.top(), from);
            const double bottom = std::min(c->rect.bottom(), to);
            if (bottom <= top + kEpsilon)
                continue;
            // Lines whose slot starts inside this part.
            const qsizetype first =
                std::max<qsizetype>(0, qsizetype(std::ceil((from - c->rect.top()) / pitch - kEpsilon)));
            qsizetype end = c->lines.size();
            if (to < c->rect.top() + end * pitch - kEpsilon)
                end = std::min(end, qsizetype(std::ceil((to - c->rect.top()) / pitch - kEpsilon)));
            ReportObject item = *c;
            item.lines = first < end ? c->lines.mid(first, end - first) : QStringList();
            item.vAlign = VAlign::Top;
            const double lineTop = c->rect.top() + first * pitch;
            item.rect = QRectF(c->rect.left() + m_area.left(), m_y + (lineTop - from), c->rect.width(),
                               bottom - lineTop);
            if (item.rect.height() > kEpsilon)
                page().items.append(item);
        }
    }

    // A data band prints once and splits across pages between two lines of its texts.
    void dataBand(const ReportObject &b, const QList<const ReportObject *> &children)
    {
        const double height = b.rect.height();
        double textEnd = 0; // where the band's last line ends
        for (const ReportObject *c : children)
            if (c->kind == ObjectKind::Text)
                textEnd = std::max(
                    textEnd, std::min(c->rect.bottom(), c->rect.top() + c->lines.size() * linePitch(*c)));
        double offset = 0;
        for (;;) {
            const double room = m_bottom() - m_y;
            if (height - offset <= room + kEpsilon) {
                fragment(children, offset, height);
                m_y += height - offset;
                return;
            }
            if (textEnd <= offset + kEpsilon) {
                // Only empty space is left of the band: it ends with the page.
                fragment(children, offset, height);
                m_y = m_bottom();
                return;
            }
            double cut = offset;
            for (const ReportObject *c : children) {
                if (c->kind != ObjectKind::Text)
                    continue;
                const double pitch = linePitch(*c);
                const double lines = std::floor((offset + room - c->rect.top()) / pitch + kEpsilon);
                const double boundary = c->rect.top() + std::min<double>(lines, c->lines.size()) * pitch;
                if (boundary > cut)
                    cut = std::min(boundary, offset + room);
            }
            if (cut <= offset + kEpsilon) {
                if (m_y > m_area.top() + kEpsilon) {
                    newPage();
                    continue;
                }
                cut = offset + room; // not even one line fits an empty page: cut it
            }
            fragment(children, offset, cut);
            offset = cut;
            newPage();
        }
    }

    const ReportTemplate &m_tmpl;
    PreparedReport &m_report;
    QRectF m_area;
    double m_y = 0;
};

void drawText(QPainter &p, const ReportObject &o, const QRectF &box, double kx, double ky)
{
    if (o.fill.isValid())
        p.fillRect(box, o.fill);
    p.setFont(QFont(objectFont(o), p.device()));
    p.setPen(o.colour);
    if (o.wordWrap) {
        const int flags =
            int(o.hAlign) | Qt::TextWordWrap | (o.vAlign == VAlign::Top ? Qt::AlignTop : Qt::AlignVCenter);
        p.drawText(box, flags, o.text());
        return;
    }
    const double pitch = linePitch(o) * ky;
    const double block = pitch * o.lines.size();
    double y = o.vAlign == VAlign::Top ? box.top() : box.top() + (box.height() - block) / 2;
    for (const QString &line : o.lines) {
        if (y >= box.bottom())
            break;
        if (y + pitch > box.top())
            p.drawText(QRectF(box.left(), y, box.width(), pitch), int(o.hAlign) | Qt::AlignVCenter, line);
        y += pitch;
    }
    Q_UNUSED(kx);
}

void drawPicture(QPainter &p, const ReportObject &o, const QRectF &box)
{
    if (o.picture.isNull() || box.isEmpty())
        return;
    QSizeF size = o.picture.size();
    size.scale(box.size(), Qt::KeepAspectRatio);
    const QRectF target(box.left() + (box.width() - size.width()) / 2,
                        box.top() + (box.height() - size.height()) / 2, size.width(), size.height());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, o.picture);
}

} // namespace

const QPaintDevice &unitDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        return image;
    }();
    return device;
}

QPageLayout PreparedReport::pageLayout() const
{
    return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void installFontSubstitutes()
{
    static const bool done = [] {
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
        QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
        return true;
    }();
    Q_UNUSED(done);
}

QFont objectFont(const ReportObject &text)
{
    installFontSubstitutes();
    QFont f(text.family);
    f.setPointSizeF(text.points);
    f.setBold(text.bold);
    f.setItalic(text.italic);
    // Metrics must not depend on the device's hinting, or a page would lay out differently
    // on screen and on paper.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

double linePitch(const ReportObject &text)
{
    if (text.lineHeight > 0)
        return text.lineHeight;
    return QFontMetricsF(objectFont(text), &unitDevice()).lineSpacing();
}

PreparedReport prepareReport(const ReportTemplate &tmpl, const QDate &today)
{
    PreparedReport r;
    r.templateName = tmpl.name;
    r.fills = tmpl.fills;
    r.orientation = tmpl.orientation;
    r.paper = tmpl.paperSize();
    const QRectF area = tmpl.printableRect();
    if (area.width() <= 0 || area.height() <= 0)
        throw ReportError("Margini della pagina non validi");

    Layout layout(tmpl, r);
    layout.pageObjects();
    for (const ReportObject &o : tmpl.objects)
        if (o.isBand())
            layout.band(o);

    if (!tmpl.continuedTitle.isEmpty())
        continueCard(tmpl, r);

    const QString date = AppFormats::shortDate(today);
    for (ReportPage &page : r.pages)
        for (ReportObject &item : page.items)
            if (item.dateMacro)
                for (QString &line : item.lines)
                    line.replace(QLatin1String("[DATE]"), date);
    return r;
}

void paintPage(QPainter &p, const PreparedReport &report, int page)
{
    if (page < 0 || page >= report.pageCount())
        return;
    const double kx = p.device()->logicalDpiX() / 96.0;
    const double ky = p.device()->logicalDpiY() / 96.0;
    auto toDevice = [&](const QRectF &r) {
        return QRectF(r.left() * kx, r.top() * ky, r.width() * kx, r.height() * ky);
    };
    const QRectF paper = toDevice(QRectF(QPointF(0, 0), report.paper));
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    for (const ReportObject &o : report.pages.at(page).items) {
        const QRectF box = toDevice(o.rect);
        // A rule's box has no width or no height: it is clipped as the line it paints, or
        // the empty intersection would hide it.
        QRectF drawn = box;
        if (o.kind == ObjectKind::HLine)
            drawn.setHeight(std::max(1.0, ky));
        else if (o.kind == ObjectKind::VLine)
            drawn.setWidth(std::max(1.0, kx));
        if (report.clipToBoxes)
            p.setClipRect(drawn.intersected(paper));
        switch (o.kind) {
        case ObjectKind::Text:
            drawText(p, o, box, kx, ky);
            break;
        case ObjectKind::Picture:
            drawPicture(p, o, box);
            break;
        case ObjectKind::Shape:
            p.fillRect(box, o.fill);
            break;
        case ObjectKind::Frame:
            p.setPen(QPen(Qt::black, std::max(1.0, kx)));
            p.setBrush(Qt::NoBrush);
            if (report.clipToBoxes)
                p.setClipRect(paper);
            p.drawRect(box);
            break;
        case ObjectKind::HLine:
        case ObjectKind::VLine:
            p.fillRect(drawn, Qt::black);
            break;
        default:
            break;
        }
    }
    p.restore();
}

bool paintPages(QPagedPaintDevice &device, const PreparedReport &report, int from, int to)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int i = std::max(0, from); i <= std::min(to, report.pageCount() - 1); ++i) {
        if (i > std::max(0, from) && !device.newPage())
            return false;
        paintPage(painter, report, i);
    }
    return painter.end();
}

bool writePdf(const PreparedReport &report, const QString &path, int resolution)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(resolution);
        writer.setPageLayout(report.pageLayout());
        writer.setCreator(QStringLiteral("Cantorium"));
        writer.setTitle(report.templateName);
        if (!paintPages(writer, report, 0, report.pageCount() - 1))
            return false;
    }
    return file.error() == QFileDevice::NoError && file.flush();
}

QSize pixelsForBox(const QSizeF &box, int dpi)
{
    return QSize(qCeil(box.width() * dpi / 96.0), qCeil(box.height() * dpi / 96.0));
}

QImage pictureForBox(const QImage &picture, const QSizeF &box, int dpi)
{
    if (picture.isNull())
        return picture;
    const QSize limit = pixelsForBox(box, dpi);
    if (picture.width() <= limit.width() && picture.height() <= limit.height())
        return picture;
    const QImage scaled = picture.scaled(limit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (scaled.isNull())
        throw ReportError("Memoria insufficiente per preparare la foto");
    return scaled;
}

} // namespace report
