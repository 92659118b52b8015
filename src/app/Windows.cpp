#include "app/Windows.h"

#include "app/Widgets.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace {

void paintGradient(QWidget *w, const QColor &top, const QColor &bottom)
{
    QPainter p(w);
    QLinearGradient g(0, 0, 0, w->height());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(w->rect(), g);
}

QWidget *makePanel(QWidget *owner, const QSize &size)
{
    auto *panel = new QWidget(owner);
    panel->setObjectName(QStringLiteral("panContainer"));
    panel->setFixedSize(size);
    return panel;
}

void centreChild(QWidget *parent, QWidget *child)
{
    child->move(qMax(0, (parent->width() - child->width()) / 2), qMax(0, (parent->height() - child->height()) / 2));
}

constexpr Qt::WindowFlags kFixedFlags = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;

} // namespace

void centreWindow(QWidget *window, QWidget *owner)
{
    QRect area;
    if (owner && owner->isVisible())
        area = owner->frameGeometry();
    else if (QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

WorkWindow::WorkWindow(const QString &name, const QString &title, const QColor &top, const QSize &panel)
    : m_top(top)
    , m_panel(makePanel(this, panel))
{
    setObjectName(name);
    setWindowTitle(title);
    // The designed client area; the window opens maximised around it.
    setMinimumSize(1016, 713);
    resize(1016, 713);
}

void WorkWindow::showWorkWindow()
{
    // Fill the screen first, so the window is full size even where no window manager
    // honours the maximised state.
    if (!isVisible())
        if (QScreen *screen = QGuiApplication::primaryScreen())
            setGeometry(screen->availableGeometry());
    showMaximized();
}

void WorkWindow::paintEvent(QPaintEvent *)
{
    paintGradient(this, m_top, Qt::white);
}

void WorkWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    centreChild(this, m_panel);
}

void WorkWindow::closeEvent(QCloseEvent *event)
{
    emit closing();
    event->accept();
}

namespace
{
// What a fixed-size window and a fixed-size dialog share: name, title, size, centred panel.
void dressFixed(QWidget *w, const QString &name, const QString &title, const QSize &client, QWidget *panel)
{
    w->setObjectName(name);
    w->setWindowTitle(title);
    w->setFixedSize(client);
    centreChild(w, panel);
}
} // namespace

FixedWindow::FixedWindow(const QString &name, const QString &title, const QSize &client, const QColor &top,
                         const QColor &bottom, const QSize &panel)
    : QWidget(nullptr, Qt::Window | kFixedFlags)
    , m_top(top)
    , m_bottom(bottom)
    , m_panel(makePanel(this, panel))
{
    dressFixed(this, name, title, client, m_panel);
}

void FixedWindow::centre()
{
    centreWindow(this);
}

void FixedWindow::paintEvent(QPaintEvent *)
{
    paintGradient(this, m_top, m_bottom);
}

void FixedWindow::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        centre();
    QWidget::showEvent(event);
}

void FixedWindow::closeEvent(QCloseEvent *event)
{
    emit closing();
    event->accept();
}

FixedDialog::FixedDialog(QWidget *owner, const QString &name, const QString &title, const QSize &client,
                         const QColor &top, const QColor &bottom, const QSize &panel)
    : QDialog(owner, Qt::Dialog | kFixedFlags)
    , m_top(top)
    , m_bottom(bottom)
    , m_panel(makePanel(this, panel))
{
    dressFixed(this, name, title, client, m_panel);
    setModal(true);
}

void FixedDialog::paintEvent(QPaintEvent *)
{
    paintGradient(this, m_top, m_bottom);
}

void FixedDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        centreWindow(this, m_centreOnOwner ? parentWidget() : nullptr);
    QDialog::showEvent(event);
}

void FixedDialog::closeOnEscape(QWidget *closeCommand)
{
    m_escapeCommands.append(closeCommand);
}

void FixedDialog::keyPressEvent(QKeyEvent *event)
{
    // These windows close only through their own commands; Esc is one of them where the
    // window says so, and runs the closing command on view (a window may show one of two
    // panels, each with its own).
    if (event->key() != Qt::Key_Escape) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    if (event->modifiers() != Qt::NoModifier)
        return;
    for (QWidget *command : std::as_const(m_escapeCommands)) {
        if (!command->isVisibleTo(this) || !command->isEnabled())
            continue;
        if (auto *button = qobject_cast<QAbstractButton *>(command))
            button->click();
        else if (auto *picture = qobject_cast<ClickPicture *>(command))
            emit picture->clicked();
        return;
    }
}
