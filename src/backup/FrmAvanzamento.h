#pragma once

#include "app/Windows.h"
#include "backup/Backups.h"

#include <QString>

#include <atomic>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// The progress of a backup or a restore: the work runs on a thread of its own while this
// window shows how far it got; Annulla asks it to stop at its next step. The window closes by
// itself when the work ends, so the user never answers it.
class FrmAvanzamento : public FixedDialog
{
    Q_OBJECT
public:
    using Work = std::function<void(const Backups::Task &task)>;
    enum class Result { Done, Cancelled, Failed };

    FrmAvanzamento(QWidget *owner, const QString &title, const QString &activity, Work work);
    ~FrmAvanzamento() override;

    // Shows the window modally until the work has ended.
    Result run();
    // The message of a failed work.
    QString error() const { return m_error; }

    QLabel *lblAttivita = nullptr;
    QProgressBar *barAvanzamento = nullptr;
    QPushButton *btnAnnulla = nullptr;

    // For tests: called on the work's thread at its first progress report.
    static void setStartedHook(std::function<void(FrmAvanzamento *)> hook);

protected:
    void reject() override; // Esc and Annulla ask the work to stop; the window waits for it

private:
    void btnAnnullaClick();
    void refresh();

    Work m_work;
    QTimer *m_timer = nullptr;
    std::atomic<qint64> m_done{0};
    std::atomic<qint64> m_total{1};
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_started{false};
    Result m_result = Result::Done;
    QString m_error;
};
