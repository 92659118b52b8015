#include "access/FrmPassword.h"

#include "access/AccessWidgets.h"
#include "access/Crypt.h"
#include "access/LoginDelay.h"
#include "access/PasswordStore.h"
#include "app/Desktop.h"
#include "app/Fields.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "core/RecordFile.h"
#include "core/Text.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

const QString kWrongPassword = QStringLiteral("Attenzione: password errata.");
const QString kReadError = QStringLiteral(
    "Attenzione: si è verificato un errore durante la procedura di lettura della password. "
    "Si consiglia di reinstallare il software.");

const QString kWait = QStringLiteral(
    "Attenzione: dopo una password errata occorre attendere. Riprovare tra %1 secondi.");

const QColor &kSteelBlue = Look::kSteelBlue;

bool isEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

FrmPassword::FrmPassword()
    : FixedWindow(QStringLiteral("frmPassword"), QStringLiteral(" Cantorium - Autenticazione utente"),
                  QSize(388, 405), kSteelBlue, Qt::white, QSize(360, 378))
{
    QWidget *p = panel();
    shape(p, QStringLiteral("shpSfondo"), QRect(8, 8, 344, 265), kSteelBlue, Qt::white, Qt::white);
    AccessWidgets::artwork(p, QStringLiteral("imgLogo"), QStringLiteral(":/access/login.svg"),
                           QRect(16, 16, 328, 160));
    shape(p, QStringLiteral("shpTitolo"), QRect(16, 184, 328, 81), Look::kTitleBand, Qt::white,
          Qt::white);
    caption(p, QStringLiteral("lblRigo05"), QStringLiteral("Immetti la password e premi OK."), QPoint(36, 200));

    txtPassword = AccessWidgets::passwordField(p, QStringLiteral("txtPassword"), QRect(36, 222, 230, 22));
    nameAfter(txtPassword, QStringLiteral("Password"));
    effPassword = Fields::frameHighlight(txtPassword, QStringLiteral("effPassword"));
    cmdOK = AccessWidgets::button(p, QStringLiteral("cmdOK"), QStringLiteral("OK"), QRect(280, 216, 49, 33));
    cmdOK->setEnabled(false);
    cmdEsci = AccessWidgets::button(p, QStringLiteral("cmdEsci"), QStringLiteral("Esci"), QRect(8, 338, 146, 32));
    btnCambiaPassword = AccessWidgets::button(p, QStringLiteral("btnCambiaPassword"),
                                              QStringLiteral("Cambia password"), QRect(205, 338, 146, 32));
    lblMemory = stateLabel(p, QStringLiteral("lblMemory"));

    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdEsci);
    setTabOrder(cmdEsci, btnCambiaPassword);

    // txtPasswordChange; key presses and releases arrive through eventFilter.
    connect(txtPassword, &QLineEdit::textChanged, this, [this] { updateOK(); });
    txtPassword->installEventFilter(this);
    connect(cmdOK, &QPushButton::clicked, this, [this] { guarded([this] { cmdOKClick(); }); });
    connect(cmdEsci, &QPushButton::clicked, this, [this] { guarded([this] { cmdEsciClick(); }); });
    connect(btnCambiaPassword, &QPushButton::clicked, this, [this] { guarded([this] { btnCambiaPasswordClick(); }); });
}

void FrmPassword::showEvent(QShowEvent *event)
{
    FixedWindow::showEvent(event);
    if (!event->spontaneous())
        txtPassword->setFocus(Qt::OtherFocusReason);
}

bool FrmPassword::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtPassword) {
        if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event))) {
            // Enter acts as the OK command, but only on a non-blank text; it never moves the focus.
            if (!ctrim(txtPassword->text()).isEmpty())
                guarded([this] { cmdOKClick(); });
            return true;
        }
        if (event->type() == QEvent::KeyRelease)
            updateOK();
    }
    return FixedWindow::eventFilter(watched, event);
}

void FrmPassword::updateOK()
{
    cmdOK->setEnabled(!ctrim(txtPassword->text()).isEmpty());
}

void FrmPassword::cmdOKClick()
{
    // Each wrong password makes the next try wait longer; a try during the wait is not checked.
    if (const qint64 wait = LoginDelay::remaining(); wait > 0) {
        desktop().plain(kWait.arg(LoginDelay::seconds(wait)));
        txtPassword->setFocus(Qt::OtherFocusReason);
        return;
    }
    try {
        // The store is read afresh at every attempt.
        const QString raw = PasswordStore::readRaw();
        lblMemory->setText(raw);
        const QString stored = PasswordStore::fromRaw(raw);
        lblMemory->setText(stored);
        const QString typed = PasswordStore::canonical(txtPassword->text());
        // An empty store (missing file, section or key) never admits anyone.
        if (stored.isEmpty() || stored != typed) {
            LoginDelay::failed();
            desktop().plain(kWrongPassword);
            txtPassword->clear();
            txtPassword->setFocus(Qt::OtherFocusReason);
            return;
        }
        LoginDelay::succeeded();
        emit loginAccepted();
    } catch (const FileError &) {
        desktop().plain(kReadError);
    } catch (const Crypt::ConversionError &) { // a damaged store
        desktop().plain(kReadError);
    }
}

void FrmPassword::cmdEsciClick()
{
    close();
    emit exitRequested();
}

void FrmPassword::btnCambiaPasswordClick()
{
    emit changeRequested();
}

void FrmPassword::returnFromChange()
{
    txtPassword->clear();
    lblMemory->clear();
    activateWindow();
    txtPassword->setFocus(Qt::OtherFocusReason);
}
