#include "app/Fields.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace Fields {

namespace {

const char *const kFillProperty = "cantoriumFill";

void paintBackground(QLineEdit *field, bool focused)
{
    const QColor fill = focused ? kFocusFill : kIdleFill;
    field->setProperty(kFillProperty, fill);
    field->setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; border: 1px solid %2; }")
                             .arg(fill.name(), kBorder.name()));
}

class BackgroundFilter : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn)
            paintBackground(static_cast<QLineEdit *>(watched), true);
        else if (event->type() == QEvent::FocusOut)
            paintBackground(static_cast<QLineEdit *>(watched), false);
        return false;
    }
};

// The yellow rectangle behind a focused field, its border fading from yellow to white.
class FocusFrame : public QWidget
{
public:
    FocusFrame(QLineEdit *field, const QString &name)
        : QWidget(field->parentWidget())
        , m_field(field)
    {
        setObjectName(name);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        follow();
        stackUnder(field);
        hide();
        field->installEventFilter(this);
    }

    void follow() { setGeometry(m_field->geometry().adjusted(-4, -4, 4, 4)); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
            show();
            break;
        case QEvent::FocusOut:
            hide();
            break;
        case QEvent::Move:
        case QEvent::Resize:
            follow();
            break;
        default:
            break;
        }
        return false;
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QLinearGradient border(0, 0, 0, height());
        border.setColorAt(0, kFocusFill);
        border.setColorAt(1, Qt::white);
        p.fillRect(rect(), border);
        p.fillRect(rect().adjusted(2, 2, -2, -2), kFocusFill);
    }

private:
    QLineEdit *m_field;
};

class EnterFilter : public QObject
{
public:
    EnterFilter(const QList<QWidget *> &chain, QWidget *afterLast)
        : QObject(chain.first())
        , m_afterLast(afterLast ? afterLast : chain.first())
    {
        for (QWidget *w : chain) {
            m_chain.append(w);
            w->installEventFilter(this);
        }
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        for (int i = 0; i < m_chain.size(); ++i) {
            if (m_chain.at(i) == watched) {
                QWidget *next = i + 1 < m_chain.size() ? m_chain.at(i + 1).data() : m_afterLast.data();
                if (next) {
                    // A move by the keyboard: the window shows where the focus went, as after Tab.
                    next->window()->setAttribute(Qt::WA_KeyboardFocusChange);
                    next->setFocus(Qt::TabFocusReason);
                }
                return true;
            }
        }
        return false;
    }

private:
    QList<QPointer<QWidget>> m_chain;
    QPointer<QWidget> m_afterLast;
};

const char *const kHintProperty = "cantoriumHint";
const char *const kBackgroundProperty = "cantoriumBackground";

} // namespace

void backgroundHighlight(QLineEdit *field)
{
    static auto *filter = new BackgroundFilter(QCoreApplication::instance());
    paintBackground(field, field->hasFocus());
    field->installEventFilter(filter);
}

QColor fillOf(const QWidget *field)
{
    return field->property(kFillProperty).value<QColor>();
}

QWidget *frameHighlight(QLineEdit *field, const QString &name)
{
    return new FocusFrame(field, name);
}

void enterChain(const QList<QWidget *> &chain, QWidget *afterLast)
{
    if (!chain.isEmpty())
        new EnterFilter(chain, afterLast);
}

HintLine::HintLine(QLabel *panInfo)
    : QObject(panInfo)
    , m_label(panInfo)
{
}

void HintLine::command(QWidget *control, const QString &hint)
{
    control->setProperty(kHintProperty, hint);
    control->setMouseTracking(true);
    control->installEventFilter(this);
}

void HintLine::background(QWidget *element)
{
    element->setProperty(kBackgroundProperty, true);
    element->setMouseTracking(true);
    element->installEventFilter(this);
}

bool HintLine::eventFilter(QObject *watched, QEvent *event)
{
    const auto type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::Enter)
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    const QVariant hint = widget->property(kHintProperty);
    if (hint.isValid()) {
        m_label->setText(hint.toString());
    } else if (type == QEvent::MouseMove && widget->property(kBackgroundProperty).toBool()) {
        // Only a move over the element itself empties the line: labels, fields and pictures
        // lying on it leave the hint in place.
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        if (!widget->childAt(at))
            m_label->clear();
    }
    return false;
}

} // namespace Fields
