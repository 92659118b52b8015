#include "backup/FrmAvanzamento.h"

#include "app/Look.h"
#include "app/Widgets.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>

namespace
{
std::function<void(FrmAvanzamento *)> s_startedHook;
// Often enough to look alive, seldom enough to cost nothing.
constexpr int kRefreshMs = 50;
} // namespace

void FrmAvanzamento::setStartedHook(std::function<void(FrmAvanzamento *)> hook)
{
    s_startedHook = std::move(hook);
}

FrmAvanzamento::FrmAvanzamento(QWidget *owner, const QString &title, const QString &activity, Work work)
    : FixedDialog(owner, QStringLiteral("frmAvanzamento"), title, QSize(480, 170), Look::kSteelBlue, Qt::white,
                  QSize(460, 150))
    , m_work(std::move(work))
{
    QWidget *p = panel();
    shape(p, QStringLiteral("shpSfondo"), QRect(0, 0, 460, 150), Qt::white, Look::kBoxBorder);
    lblAttivita = caption(p, QStringLiteral("lblAttivita"), activity, QPoint(16, 16), QStringLiteral("Verdana"), 10, true);
    lblAttivita->setTextFormat(Qt::PlainText);
    lblAttivita->setFixedWidth(428);
    lblAttivita->setWordWrap(true);
    barAvanzamento = new QProgressBar(p);
    barAvanzamento->setObjectName(QStringLiteral("barAvanzamento"));
    barAvanzamento->setGeometry(16, 62, 428, 24);
    barAvanzamento->setRange(0, 1000);
    barAvanzamento->setValue(0);
    nameAfter(barAvanzamento, activity);
    btnAnnulla = pushButton(p, QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), QRect(324, 104, 120, 32),
                            Look::font(QStringLiteral("Verdana"), 9, true));
    connect(btnAnnulla, &QPushButton::clicked, this, [this] { btnAnnullaClick(); });
    m_timer = new QTimer(this);
    m_timer->setInterval(kRefreshMs);
    connect(m_timer, &QTimer::timeout, this, [this] { refresh(); });
}

FrmAvanzamento::~FrmAvanzamento() = default;

FrmAvanzamento::Result FrmAvanzamento::run()
{
    Backups::Task task;
    task.progress = [this](qint64 done, qint64 total) {
        m_total = qMax<qint64>(1, total);
        m_done = done;
        if (!m_started.exchange(true) && s_startedHook)
            s_startedHook(this);
    };
    task.cancelled = [this] { return m_cancel.load(); };
    QThread *thread = QThread::create([this, task] {
        try {
            m_work(task);
            m_result = Result::Done;
        } catch (const Backups::Cancelled &) {
            m_result = Result::Cancelled;
        } catch (const Backups::Error &e) {
            m_result = Result::Failed;
            m_error = e.message();
        } catch (const std::exception &e) {
            m_result = Result::Failed;
            m_error = QString::fromUtf8(e.what());
        }
    });
    // The window closes when the work has ended, whatever the user did meanwhile.
    connect(thread, &QThread::finished, this, [this] { done(QDialog::Accepted); }, Qt::QueuedConnection);
    m_timer->start();
    thread->start();
    exec();
    thread->wait();
    delete thread;
    m_timer->stop();
    return m_result;
}

void FrmAvanzamento::refresh()
{
    const qint64 total = m_total.load();
    barAvanzamento->setValue(int(qBound<qint64>(qint64(0), m_done.load() * 1000 / total, qint64(1000))));
}

void FrmAvanzamento::btnAnnullaClick()
{
    m_cancel = true;
    btnAnnulla->setEnabled(false);
    lblAttivita->setText(QStringLiteral("Annullamento in corso..."));
}

void FrmAvanzamento::reject()
{
    // Closing the window is Annulla: the work stops at its next step and the window closes then.
    if (!m_cancel)
        btnAnnullaClick();
}
