#include "report/ReportTemplate.h"

#include <QPageSize>

namespace report
{

void ReportObject::setText(const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lines = t.split(QLatin1Char('\n'));
}

bool sameName(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a.at(i).unicode(), y = b.at(i).unicode();
        if (x >= u'A' && x <= u'Z')
            x = char16_t(x + 32);
        if (y >= u'A' && y <= u'Z')
            y = char16_t(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

ReportObject *ReportTemplate::findObject(const QString &objectName)
{
    for (auto &o : objects)
        if (sameName(o.name, objectName))
            return &o;
    return nullptr;
}

const ReportObject *ReportTemplate::findObject(const QString &objectName) const
{
    return const_cast<ReportTemplate *>(this)->findObject(objectName);
}

ReportObject &ReportTemplate::object(const QString &objectName)
{
    ReportObject *o = findObject(objectName);
    if (!o)
        throw ReportError("Oggetto \"" + objectName.toStdString() + "\" non trovato nel modello \"" +
                          name.toStdString() + "\"");
    return *o;
}

void ReportTemplate::setText(const QString &objectName, const QString &text)
{
    object(objectName).setText(text);
    fills.append({objectName, text});
}

void ReportTemplate::setPicture(const QString &objectName, const QImage &image)
{
    object(objectName).setPicture(image);
    fills.append({objectName, QString()});
}

QSizeF ReportTemplate::paperSize() const
{
    const QSizeF mm = QPageSize::size(QPageSize::A4, QPageSize::Millimeter);
    const QSizeF portrait(mm.width() * kUnitsPerMm, mm.height() * kUnitsPerMm);
    return orientation == QPageLayout::Portrait ? portrait : portrait.transposed();
}

QRectF ReportTemplate::printableRect() const
{
    const QSizeF paper = paperSize();
    return QRectF(
        QPointF(marginLeft * kUnitsPerMm, marginTop * kUnitsPerMm),
        QPointF(paper.width() - marginRight * kUnitsPerMm, paper.height() - marginBottom * kUnitsPerMm));
}

} // namespace report
