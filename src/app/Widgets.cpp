#include "app/Widgets.h"

#include "app/Look.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QAccessibleWidget>
#include <QLinearGradient>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace
{
// A screen reader meets a picture command as a push button it can press, named after what
// it does; left to Qt it would be an unnamed image.
class ClickPictureAccessible : public QAccessibleWidget
{
public:
    explicit ClickPictureAccessible(QWidget *w)
        : QAccessibleWidget(w, QAccessible::Button)
    {
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action == pressAction() && widget()->isEnabled())
            emit static_cast<ClickPicture *>(widget())->clicked();
    }
    QStringList keyBindingsForAction(const QString &action) const override
    {
        const QString keys = widget()->property(ClickPicture::kShortcutProperty).toString();
        return action == pressAction() && !keys.isEmpty() ? QStringList{keys} : QStringList();
    }
};

QAccessibleInterface *clickPictureAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("ClickPicture") && object && object->isWidgetType())
        return new ClickPictureAccessible(static_cast<QWidget *>(object));
    return nullptr;
}
} // namespace

const char *const ClickPicture::kShortcutProperty = "cantoriumShortcut";

ClickPicture::ClickPicture(QWidget *parent, const QString &name, const QString &resource,
                           const QRect &geometry)
    : QLabel(parent)
    , m_resource(resource)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(clickPictureAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
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

void ClickPicture::takeKeyboard()
{
    setFocusPolicy(Qt::StrongFocus);
}

void ClickPicture::keyPressEvent(QKeyEvent *event)
{
    if (focusPolicy() != Qt::NoFocus && event->modifiers() == Qt::NoModifier &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space)) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ClickPicture::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // A picture has no focus look of its own: a dotted frame, as a push button shows.
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight), 2, Qt::DotLine);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

void ClickPicture::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    update();
}

void ClickPicture::focusOutEvent(QFocusEvent *event)
{
    QLabel::focusOutEvent(event);
    update();
}

void nameAfter(QWidget *control, const QString &caption, QLabel *captionLabel)
{
    QString name = caption.trimmed();
    while (name.endsWith(QLatin1Char(':')))
        name = name.chopped(1).trimmed();
    control->setAccessibleName(name);
    if (captionLabel)
        captionLabel->setBuddy(control);
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
    // The words are the picture's caption: a screen reader says them.
    picture->setAccessibleName(text);
    return label;
}

namespace
{
class ReturnClicks : public QObject
{
public:
    static ReturnClicks *instance()
    {
        static auto *filter = new ReturnClicks(QCoreApplication::instance());
        return filter;
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto *button = qobject_cast<QPushButton *>(watched);
        if (!button || !button->isEnabled() || !button->isVisible())
            return false;
        button->click();
        return true;
    }

private:
    using QObject::QObject;
};
} // namespace

QPushButton *pushButton(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
                        const QFont &font, Qt::CursorShape cursor)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    if (font.resolveMask() != 0)
        b->setFont(font);
    b->setCursor(cursor);
    // Enter belongs to the focused control, not to a default button: a focused button takes
    // Return and Enter as it takes Space.
    b->setAutoDefault(false);
    b->installEventFilter(ReturnClicks::instance());
    return b;
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
