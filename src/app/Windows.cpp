#include "app/Windows.h"

#include "app/Widgets.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QSettings>

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

// The client area a work window is designed for.
constexpr QSize kWorkClient(1016, 713);

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
    m_designed = panel;
    // The designed client area; the window opens maximised around it.
    setMinimumSize(kWorkClient);
    resize(kWorkClient);
}

void WorkWindow::showWorkWindow()
{
    if (m_grows && !isVisible()) {
        const QByteArray saved = QSettings().value(settingsKey()).toByteArray();
        if (!saved.isEmpty() && restoreGeometry(saved)) {
            // A screen that is gone or smaller now still shows the whole window.
            const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
            if (screen && !windowState().testFlag(Qt::WindowMaximized)) {
                const QRect area = screen->availableGeometry();
                QRect g = geometry();
                g.setSize(g.size().boundedTo(area.size()).expandedTo(minimumSize()));
                g.moveLeft(qBound(area.left(), g.left(), qMax(area.left(), area.right() - g.width())));
                g.moveTop(qBound(area.top(), g.top(), qMax(area.top(), area.bottom() - g.height())));
                setGeometry(g);
            }
            if (windowState().testFlag(Qt::WindowMaximized))
                showMaximized();
            else
                show();
            return;
        }
    }
    // Fill the screen first, so the window is full size even where no window manager
    // honours the maximised state.
    if (!isVisible())
        if (QScreen *screen = QGuiApplication::primaryScreen())
            setGeometry(screen->availableGeometry());
    showMaximized();
}

void WorkWindow::growWithWindow()
{
    m_grows = true;
    placeGrowing();
}

void WorkWindow::grow(QWidget *control, Edges edges)
{
    Q_ASSERT(control);
    if (!control)
        return;
    m_growing.append({control, control->geometry(), edges});
    placeGrowing();
}

QString WorkWindow::settingsKey() const
{
    return QStringLiteral("finestre/") + objectName();
}

void WorkWindow::placeGrowing()
{
    if (!m_grows)
        return;
    // The panel keeps the place it has at the designed size and takes every pixel beyond it.
    const QSize extra = (size() - kWorkClient).expandedTo(QSize(0, 0));
    m_panel->setFixedSize(m_designed + extra);
    m_panel->move((kWorkClient.width() - m_designed.width()) / 2, (kWorkClient.height() - m_designed.height()) / 2);
    for (const Growing &g : std::as_const(m_growing)) {
        const QRect &r = g.designed;
        const int left = r.left() + qRound(g.edges.left * extra.width());
        const int top = r.top() + qRound(g.edges.top * extra.height());
        const int right = r.left() + r.width() + qRound(g.edges.right * extra.width());
        const int bottom = r.top() + r.height() + qRound(g.edges.bottom * extra.height());
        g.control->setGeometry(left, top, right - left, bottom - top);
    }
}

void WorkWindow::paintEvent(QPaintEvent *)
{
    paintGradient(this, m_top, Qt::white);
}

void WorkWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_grows)
        placeGrowing();
    else
        centreChild(this, m_panel);
}

void WorkWindow::hideEvent(QHideEvent *event)
{
    if (m_grows && !event->spontaneous())
        QSettings().setValue(settingsKey(), saveGeometry());
    QWidget::hideEvent(event);
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
