#include "access/FrmCambiaPassword.h"

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

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

const QString kWrongOld = QStringLiteral("Attenzione: vecchia password errata.");
const QString kNotConfirmed = QStringLiteral(
    "Attenzione: la nuova password non è stata confermata correttamente. "
    "E' necessario reinserire entrambi i valori.");
const QString kOutOfLimits = QStringLiteral(
    "Attenzione: la nuova password può contenere al massimo 255 caratteri dell'alfabeto latino "
    "(codici fino a U+00FF).");
const QString kTooShort = QStringLiteral(
    "Attenzione: la nuova password deve contenere almeno %1 caratteri.");
const QString kWait = QStringLiteral(
    "Attenzione: dopo una password errata occorre attendere. Riprovare tra %1 secondi.");
const QString kDone = QStringLiteral("Modifica della password completata con successo.");
const QString kChangeError = QStringLiteral(
    "Attenzione: si è verificato un errore durante la procedura di modifica della password. "
    "Si consiglia di reinstallare il software.");

const QColor &kSteelBlue = Look::kSteelBlue;

// The scrambler keeps one byte per character: a password must have at most 255 characters,
// each from U+0001 to U+00FF, or it could never be matched again once stored.
// What the launcher's help promises: at least eight characters, counted in the stored form.
constexpr int kShortest = 8;

bool withinScrambleLimits(const QString &canonical)
{
    if (canonical.size() > 255)
        return false;
    for (const QChar c : canonical) {
        if (c.unicode() == 0 || c.unicode() > 0xFF)
            return false;
    }
    return true;
}

} // namespace

FrmCambiaPassword::FrmCambiaPassword()
    : FixedWindow(QStringLiteral("frmCambiaPassword"), QStringLiteral(" Cambia password"), QSize(411, 418),
                  kSteelBlue, Qt::white, QSize(385, 390))
{
    QWidget *p = panel();
    shape(p, QStringLiteral("shpSfondo"), QRect(8, 8, 369, 334), kSteelBlue, Qt::white, Qt::white);
    AccessWidgets::artwork(p, QStringLiteral("imgLogo"), QStringLiteral(":/access/cambia.svg"),
                           QRect(16, 16, 353, 148));

    QLabel *lblOld =
        caption(p, QStringLiteral("lblRigo05"), QStringLiteral("Vecchia password:"), QPoint(16, 172));
    txtPasswordOld = AccessWidgets::passwordField(p, QStringLiteral("txtPasswordOld"), QRect(16, 193, 353, 22));
    nameAfter(txtPasswordOld, lblOld->text(), lblOld);
    QLabel *lblNew =
        caption(p, QStringLiteral("lblRigo06"), QStringLiteral("Nuova password:"), QPoint(16, 228));
    txtPasswordNew = AccessWidgets::passwordField(p, QStringLiteral("txtPasswordNew"), QRect(16, 249, 353, 22));
    nameAfter(txtPasswordNew, lblNew->text(), lblNew);
    QLabel *lblConf =
        caption(p, QStringLiteral("lblRigo07"), QStringLiteral("Conferma nuova password:"), QPoint(16, 284));
    txtConferma = AccessWidgets::passwordField(p, QStringLiteral("txtConferma"), QRect(16, 305, 353, 22));
    nameAfter(txtConferma, lblConf->text(), lblConf);
    Fields::frameHighlight(txtPasswordOld, QStringLiteral("effPasswordOld"));
    Fields::frameHighlight(txtPasswordNew, QStringLiteral("effPasswordNew"));
    Fields::frameHighlight(txtConferma, QStringLiteral("effConferma"));

    cmdEsci = AccessWidgets::button(p, QStringLiteral("cmdEsci"), QStringLiteral("Chiudi"), QRect(8, 350, 146, 32));
    cmdOK = AccessWidgets::button(p, QStringLiteral("cmdOK"), QStringLiteral("OK"), QRect(232, 350, 146, 32));
    cmdOK->setEnabled(false);
    lblMemory = stateLabel(p, QStringLiteral("lblMemory"));

    setTabOrder(txtPasswordOld, txtPasswordNew);
    setTabOrder(txtPasswordNew, txtConferma);
    setTabOrder(txtConferma, cmdEsci);
    setTabOrder(cmdEsci, cmdOK);

    // Enter only moves between the fields, round to the first; it never presses OK.
    Fields::enterChain({txtPasswordOld, txtPasswordNew, txtConferma});

    for (QLineEdit *field : {txtPasswordOld, txtPasswordNew, txtConferma}) {
        connect(field, &QLineEdit::textChanged, this, [this] { updateOK(); });
        field->installEventFilter(this);
    }
    connect(cmdOK, &QPushButton::clicked, this, [this] { guarded([this] { cmdOKClick(); }); });
    connect(cmdEsci, &QPushButton::clicked, this, [this] { guarded([this] { cmdEsciClick(); }); });
}

void FrmCambiaPassword::showEvent(QShowEvent *event)
{
    FixedWindow::showEvent(event);
    if (event->spontaneous())
        return;
    txtPasswordOld->clear();
    txtPasswordNew->clear();
    txtConferma->clear();
    lblMemory->clear();
    txtPasswordOld->setFocus(Qt::OtherFocusReason);
}

bool FrmCambiaPassword::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease
        && (watched == txtPasswordOld || watched == txtPasswordNew || watched == txtConferma))
        updateOK();
    return FixedWindow::eventFilter(watched, event);
}

void FrmCambiaPassword::updateOK()
{
    cmdOK->setEnabled(!ctrim(txtPasswordOld->text()).isEmpty() && !ctrim(txtPasswordNew->text()).isEmpty()
                      && !ctrim(txtConferma->text()).isEmpty());
}

void FrmCambiaPassword::cmdOKClick()
{
    // The old password is guessed here as easily as at the login window: the same wait holds.
    if (const qint64 wait = LoginDelay::remaining(); wait > 0) {
        desktop().plain(kWait.arg(LoginDelay::seconds(wait)));
        return;
    }
    try {
        const QString raw = PasswordStore::readRaw();
        lblMemory->setText(raw);
        const QString stored = PasswordStore::fromRaw(raw);
        lblMemory->setText(stored);

        // The old password first: a wrong one is reported even when the new entries disagree.
        if (stored.isEmpty() || stored != PasswordStore::canonical(txtPasswordOld->text())) {
            LoginDelay::failed();
            desktop().plain(kWrongOld);
            txtPasswordOld->clear();
            txtPasswordOld->setFocus(Qt::OtherFocusReason);
            return;
        }
        // Compared as typed (only trimmed): a confirmation in another letter case is refused.
        if (ctrim(txtPasswordNew->text()) != ctrim(txtConferma->text())) {
            desktop().plain(kNotConfirmed);
            txtPasswordNew->clear();
            txtConferma->clear();
            txtPasswordNew->setFocus(Qt::OtherFocusReason);
            return;
        }
        LoginDelay::succeeded();
        if (!withinScrambleLimits(PasswordStore::canonical(txtPasswordNew->text()))) {
            desktop().warning(kOutOfLimits);
            txtPasswordNew->clear();
            txtConferma->clear();
            txtPasswordNew->setFocus(Qt::OtherFocusReason);
            return;
        }
        if (PasswordStore::canonical(txtPasswordNew->text()).size() < kShortest) {
            desktop().warning(kTooShort.arg(kShortest));
            txtPasswordNew->clear();
            txtConferma->clear();
            txtPasswordNew->setFocus(Qt::OtherFocusReason);
            return;
        }
        PasswordStore::write(txtPasswordNew->text());
        desktop().plain(kDone);
        close();
    } catch (const FileError &) {
        desktop().plain(kChangeError);
    } catch (const Crypt::ConversionError &) { // a damaged store
        desktop().plain(kChangeError);
    }
}

void FrmCambiaPassword::cmdEsciClick()
{
    close();
}
