#include "app/TextLink.h"

#include "app/Look.h"
#include "app/Widgets.h"

#include <QMouseEvent>

const QColor TextLink::kNormal = Look::kLink;
const QColor TextLink::kPressed = Look::kLinkPressed;

TextLink::TextLink(QWidget *parent, const QString &name, const QString &text, const QPoint &at)
    : QLabel(text, parent)
{
    setObjectName(name);
    QFont font = Look::font(QStringLiteral("Tahoma"), 14);
    font.setUnderline(true);
    setFont(font);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
    setColour(kNormal);
    move(at);
    adjustSize();
}

void TextLink::attach(ClickPicture *picture)
{
    // The picture does what the words say.
    picture->setAccessibleName(text());
    connect(picture, &ClickPicture::pressed, this, &TextLink::press);
    connect(picture, &ClickPicture::released, this, &TextLink::release);
    connect(picture, &ClickPicture::clicked, this, &TextLink::click);
}

void TextLink::setColour(const QColor &colour)
{
    m_colour = colour;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
}

void TextLink::press()
{
    setColour(kPressed);
}

void TextLink::release()
{
    setColour(kNormal);
}

void TextLink::click()
{
    setColour(kNormal);
    emit clicked();
}

// Any button held down shows the pressed colour; only the left button clicks.
void TextLink::mousePressEvent(QMouseEvent *event)
{
    press();
    QLabel::mousePressEvent(event);
}

void TextLink::mouseReleaseEvent(QMouseEvent *event)
{
    release();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        click();
    QLabel::mouseReleaseEvent(event);
}
