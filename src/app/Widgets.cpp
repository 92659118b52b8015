#include "app/Widgets.h"

#include "app/Look.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

ClickPicture::ClickPicture(QWidget *parent, const QString &name, const QString &resource,
                           const QRect &geometry)
    : QLabel(parent)
    , m_resource(resource)
{
    setObjectName(name);
    setGeometry(geometry);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setAlignment(Qt::AlignCenter);
    render();
}

void ClickPicture::setResource(const QString &resource)
{
    m_resource = resource;
    render();
}

void ClickPicture::render()
{
    if (m_resource.isEmpty() || width() <= 0 || height() <= 0) {
        clear();
        return;
    }
    setPixmap(Look::picture(m_resource, size(), devicePixelRatioF()));
}

void ClickPicture::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit pressed();
    QLabel::mousePressEvent(event);
}

void ClickPicture::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        emit released();
        if (rect().contains(event->position().toPoint()))
            emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

void ClickPicture::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    render();
}

QLabel *stateLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->hide();
    return label;
}

QString stateOf(const QLabel *label)
{
    QString text = label->text();
    qsizetype b = 0, e = text.size();
    while (b < e && text.at(b).unicode() <= 0x20)
        ++b;
    while (e > b && text.at(e - 1).unicode() <= 0x20)
        --e;
    return text.mid(b, e - b);
}

namespace {
class Shape : public QWidget
{
public:
    Shape(QWidget *parent, const QColor &fill, const QColor &border, const QColor &to)
        : QWidget(parent)
        , m_fill(fill)
        , m_border(border)
        , m_to(to)
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        if (m_to.isValid()) {
            QLinearGradient g(0, 0, 0, height());
            g.setColorAt(0, m_fill);
            g.setColorAt(1, m_to);
            p.fillRect(rect(), g);
        } else {
            p.fillRect(rect(), m_fill);
        }
        if (m_border.isValid()) {
            p.setPen(m_border);
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }

private:
    QColor m_fill, m_border, m_to;
};
} // namespace

QWidget *shape(QWidget *parent, const QString &name, const QRect &geometry, const QColor &fill,
               const QColor &border, const QColor &gradientTo)
{
    auto *s = new Shape(parent, fill, border, gradientTo);
    s->setObjectName(name);
    s->setGeometry(geometry);
    return s;
}

QLabel *wordsOn(QWidget *picture, const QString &text, const QFont &font, const QColor &colour,
                Qt::Alignment alignment, const QMargins &margins)
{
    auto *label = new QLabel(text, picture);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setWordWrap(true);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    label->setGeometry(picture->rect().marginsRemoved(margins));
    return label;
}

QLabel *caption(QWidget *parent, const QString &name, const QString &text, const QPoint &at,
                const QString &family, qreal points, bool bold)
{
    auto *label = new QLabel(text, parent);
    if (!name.isEmpty())
        label->setObjectName(name);
    label->setFont(Look::font(family, points, bold));
    label->move(at);
    label->adjustSize();
    return label;
}
