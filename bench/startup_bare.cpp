// The yardstick of bench_startup: a bare Qt Widgets program that shows one empty window and
// says "shown" after its first paint.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace
{

class Window : public QWidget
{
protected:
    bool event(QEvent *e) override
    {
        const bool result = QWidget::event(e);
        if (e->type() == QEvent::Paint && !m_done) {
            m_done = true;
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return result;
    }

private:
    bool m_done = false;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Window window;
    window.resize(388, 405);
    window.show();
    return app.exec();
}
