#include "singers/PhotoWindow.h"

#include "app/Look.h"
#include "app/PictureBox.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

PhotoWindow::PhotoWindow(QWidget *owner, const QString &name, const QString &title)
    : QDialog(owner)
{
    setObjectName(name);
    setWindowTitle(title);
    setModal(true);
    resize(1016, 713);
    setWindowState(Qt::WindowMaximized);

    panContainer = new QWidget(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    panContainer->setGeometry(30, 45, 956, 623);
    panContainer->installEventFilter(this);
    imgFoto = new PictureBox(panContainer, QStringLiteral("imgFoto"), QRect(0, 0, 956, 623));
    connect(imgFoto, &PictureBox::clicked, this, &QDialog::close);
    // Sized for the screen from the start, so a photo given before showing is decoded once,
    // at the size it will be shown.
    fitToScreen();
}

QScreen *PhotoWindow::targetScreen() const
{
    if (parentWidget() && parentWidget()->screen())
        return parentWidget()->screen();
    return QGuiApplication::primaryScreen();
}

void PhotoWindow::fitToScreen()
{
    if (QScreen *screen = targetScreen()) {
        const QSize size(qMax(1, screen->size().width() - 60), qMax(1, screen->size().height() - 90));
        panContainer->resize(size);
        imgFoto->setGeometry(QRect(QPoint(0, 0), size));
    }
    centrePanel();
}

void PhotoWindow::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        if (QScreen *screen = targetScreen()) {
            setGeometry(screen->availableGeometry());
            // Setting the geometry drops the maximised state; it still belongs to the window.
            setWindowState(windowState() | Qt::WindowMaximized);
        }
    }
    QDialog::setVisible(visible);
}

void PhotoWindow::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        fitToScreen();
    QDialog::showEvent(event);
}

void PhotoWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, Look::kSteelBlue);
    gradient.setColorAt(1, Qt::white);
    painter.fillRect(rect(), gradient);
}

void PhotoWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    centrePanel();
}

bool PhotoWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == panContainer && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PhotoWindow::centrePanel()
{
    panContainer->move((width() - panContainer->width()) / 2, (height() - panContainer->height()) / 2);
}
