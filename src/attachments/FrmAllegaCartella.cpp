#include "attachments/FrmAllegaCartella.h"

#include "app/Artwork.h"
#include "app/Desktop.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "app/CardEditor.h"
#include "core/AtomicFile.h"
#include "core/RecordFile.h"
#include "core/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

const QString FrmAllegaCartella::kDialogTitle = QStringLiteral("Selezionare il file da allegare:");
const QString FrmAllegaCartella::kAskOverwrite =
    QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso "
                   "nome.\r\n\r\nSi vuole sovrascrivere il file esistente?");
const QString FrmAllegaCartella::kAskReplaceLink =
    QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un collegamento con lo "
                   "stesso nome.\r\n\r\nSi vuole sostituire il collegamento con una copia del file scelto? "
                   "Il file a cui il collegamento rimanda non verrà modificato.");
const QString FrmAllegaCartella::kRenamed =
    QStringLiteral("Il nome del file contiene caratteri che la scheda non può conservare: il file è stato "
                   "copiato nella cartella dei documenti allegati con il nome \"%1\".");
const QString FrmAllegaCartella::kCopyFailed =
    QStringLiteral("Attenzione: non è stato possibile copiare il file nella cartella dei documenti "
                   "allegati.\r\n\r\n");
const QString FrmAllegaCartella::kNameUnusable =
    QStringLiteral("Attenzione: il nome del file scelto, senza gli spazi iniziali e finali, resta vuoto o "
                   "fatto solo di punti, e la scheda non lo può conservare.\r\n\r\nRinominare il file e "
                   "allegarlo di nuovo.");
const QString FrmAllegaCartella::kCopiedUnderFreeName =
    QStringLiteral("Nella cartella dei documenti allegati il nome \"%1\" è già di un altro file, che resta "
                   "com'era: il file scelto è stato copiato con il nome \"%2\".");
const QString FrmAllegaCartella::kNameTooLong =
    QStringLiteral("Attenzione: il nome del file scelto supera i 250 caratteri che la scheda può "
                   "contenere.\r\n\r\nRinominare il file con un nome più breve e allegarlo di nuovo.");

namespace
{

QPushButton *button(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    return pushButton(parent, name, text, geometry, Look::uiFont(9));
}

// Copies `source` over `target` through a temporary file in the target's folder that replaces
// the target only once it is complete: a failed copy leaves the file other cards refer to as it
// was. A link at the target is replaced itself, never written through. Returns the platform's
// description of a failure, or an empty text.
QString copyReplacing(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return in.errorString();
    AtomicFile out(target, AtomicFile::Links::Replace);
    if (!out.open())
        return out.errorString();
    QByteArray chunk;
    while (!(chunk = in.read(1 << 20)).isEmpty()) {
        if (out.write(chunk) != chunk.size())
            return out.errorString();
    }
    if (in.error() != QFileDevice::NoError)
        return in.errorString();
    if (!out.commit())
        return out.errorString();
    return QString();
}

// True when the two files hold the same bytes.
bool sameContent(const QString &a, const QString &b)
{
    QFile one(a), two(b);
    if (!one.open(QIODevice::ReadOnly) || !two.open(QIODevice::ReadOnly) || one.size() != two.size())
        return false;
    while (!one.atEnd()) {
        const QByteArray chunk = one.read(1 << 20);
        if (chunk.isEmpty() || chunk != two.read(chunk.size()))
            return false;
    }
    return true;
}

} // namespace

FrmAllegaCartella::FrmAllegaCartella(CardEditor *editor, const QString &caller)
    : FrmAllegaCartella(static_cast<QWidget *>(editor))
{
    m_editor = editor;
    m_caller = caller;
    lblMemory->setText(m_caller);
}

FrmAllegaCartella::FrmAllegaCartella(QWidget *owner)
    : FixedDialog(owner, QStringLiteral("frmAllegaCartella"), QStringLiteral(" Allega file"), QSize(634, 534),
                  Look::kAttachGrey, Qt::white, QSize(609, 503))
{
    QWidget *p = panel();
    shpSfondo =
        shape(p, QStringLiteral("shpSfondo"), QRect(8, 8, 593, 433), Qt::white, Look::kSheetBorder);
    imgLogo = new Artwork(p, QStringLiteral("imgLogo"), QStringLiteral(":/attachments/istruzioni.svg"),
                          QRect(20, 20, 543, 49));
    lblMemory = stateLabel(p, QStringLiteral("lblMemory"));

    QList<QWidget *> tabOrder;
    for (int n = 0; n < 3; ++n) {
        const int dy = 120 * n;
        const QString number = QStringLiteral("%1").arg(n + 1, 2, 10, QLatin1Char('0'));
        shpFile[n] = shape(p, QStringLiteral("shpFile") + number, QRect(16, 80 + dy, 577, 113),
                           Look::kAttachBand, Look::kAttachBand, Qt::white);

        lblCampo[2 * n] = caption(p, QStringLiteral("lblCampo%1").arg(2 * n + 1, 2, 10, QLatin1Char('0')),
                                  QStringLiteral("Nome %1° file allegato:").arg(n + 1), QPoint(28, 90 + dy));
        lblCampo[2 * n]->setFont(Look::uiFont(9));
        lblCampo[2 * n]->adjustSize();

        txtFile[n] = new QLineEdit(p);
        txtFile[n]->setObjectName(QStringLiteral("txtFile") + number);
        txtFile[n]->setGeometry(28, 108 + dy, 338, 22);
        txtFile[n]->setReadOnly(true);
        txtFile[n]->setFont(Look::uiFont(9, true));
        txtFile[n]->setStyleSheet(QStringLiteral("color: grey;"));
        nameAfter(txtFile[n], lblCampo[2 * n]->text(), lblCampo[2 * n]);

        imgCancella[n] =
            new ClickPicture(p, QStringLiteral("imgCancella") + number,
                             QStringLiteral(":/attachments/gomma.svg"), QRect(370, 108 + dy, 22, 22));
        nameAfter(imgCancella[n], QStringLiteral("Togli il %1° file allegato").arg(n + 1));
        btnSfoglia[n] = button(p, QStringLiteral("btnSfoglia") + number, QStringLiteral("Sfoglia..."),
                               QRect(400, 104 + dy, 86, 28));
        btnApri[n] = button(p, QStringLiteral("btnApri") + number, QStringLiteral("Apri"),
                            QRect(494, 104 + dy, 86, 28));
        btnApri[n]->setEnabled(false);

        lblCampo[2 * n + 1] =
            caption(p, QStringLiteral("lblCampo%1").arg(2 * n + 2, 2, 10, QLatin1Char('0')),
                    QStringLiteral("Descrizione %1° file allegato:").arg(n + 1), QPoint(28, 140 + dy));
        lblCampo[2 * n + 1]->setFont(Look::uiFont(9));
        lblCampo[2 * n + 1]->adjustSize();

        txtDesc[n] = new QLineEdit(p);
        txtDesc[n]->setObjectName(QStringLiteral("txtDesc") + number);
        txtDesc[n]->setGeometry(28, 158 + dy, 552, 22);
        txtDesc[n]->setFont(Look::uiFont(9, true));
        // As much as the card keeps, so that nothing typed is lost on saving.
        txtDesc[n]->setMaxLength(kNameCapacity);
        nameAfter(txtDesc[n], lblCampo[2 * n + 1]->text(), lblCampo[2 * n + 1]);

        connect(txtFile[n], &QLineEdit::textChanged, this, [this, n] { txtFileChange(n); });
        connect(btnSfoglia[n], &QPushButton::clicked, this,
                [this, n] { guarded([this, n] { btnSfogliaClick(n); }); });
        connect(btnApri[n], &QPushButton::clicked, this,
                [this, n] { guarded([this, n] { btnApriClick(n); }); });
        connect(imgCancella[n], &ClickPicture::clicked, this, [this, n] { imgCancellaClick(n); });
        tabOrder << txtFile[n] << btnSfoglia[n] << btnApri[n] << txtDesc[n];
    }

    btnAnnulla = button(p, QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), QRect(312, 456, 126, 32));
    btnApplica =
        button(p, QStringLiteral("btnApplica"), QStringLiteral("Applica e chiudi"), QRect(447, 456, 154, 32));
    connect(btnApplica, &QPushButton::clicked, this, [this] { guarded([this] { btnApplicaClick(); }); });
    connect(btnAnnulla, &QPushButton::clicked, this, [this] { btnAnnullaClick(); });
    tabOrder << btnApplica << btnAnnulla;
    for (int i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder.at(i - 1), tabOrder.at(i));
}

void FrmAllegaCartella::setAttachments(const Attachments &values)
{
    for (int n = 0; n < 3; ++n) {
        txtFile[n]->setText(ctrim(values.file[n]));
        txtDesc[n]->setText(ctrim(values.desc[n]));
    }
}

Attachments FrmAllegaCartella::attachments() const
{
    Attachments values;
    for (int n = 0; n < 3; ++n) {
        values.file[n] = ctrim(txtFile[n]->text());
        values.desc[n] = ctrim(txtDesc[n]->text());
    }
    return values;
}

void FrmAllegaCartella::txtFileChange(int slot)
{
    btnApri[slot]->setEnabled(!ctrim(txtFile[slot]->text()).isEmpty());
}

void FrmAllegaCartella::btnSfogliaClick(int slot)
{
    const QString source = desktop().openFileName(this, kDialogTitle, QString(),
                                                  {{QStringLiteral("Tutti i file"), {QStringLiteral("*")}}});
    if (source.isEmpty())
        return;
    const QString picked = QFileInfo(source).fileName();
    // The copy takes the name the card will hold, so that the two never differ.
    QString name = AttachmentFolder::storableName(picked);
    if (name.isEmpty()) {
        desktop().warning(kNameUnusable);
        return;
    }
    const bool renamed = name != picked;
    // A longer name would be cut when the card is saved and then name another file.
    if (Ansi::fromUnicode(name).size() > kNameCapacity) {
        desktop().warning(kNameTooLong);
        return;
    }
    const QString folder = AttachmentFolder::path();
    if (!QDir().mkpath(folder)) {
        desktop().warning(
            kCopyFailed +
            QStringLiteral("Impossibile creare la cartella %1.").arg(QDir::toNativeSeparators(folder)));
        return;
    }
    QFileInfo targetInfo(folder + name);
    bool elsewhere = false; // copied under a free name because the name was taken
    if (targetInfo.exists() || targetInfo.isSymLink()) {
        const bool regular = !targetInfo.isSymLink() && targetInfo.isFile();
        if (regular && (targetInfo.canonicalFilePath() == QFileInfo(source).canonicalFilePath() ||
                        sameContent(source, targetInfo.filePath()))) {
            // The same file is already there (perhaps picked from the folder itself): it is
            // simply shared; copying it onto itself would only risk it.
            txtFile[slot]->setText(name);
            return;
        }
        // Another card's different file is never silently taken for this one: a name that came
        // from the conversion ("東京" and "大阪" both give "__"), or a replacement the user
        // declines, gets a name of its own.
        if (renamed || !desktop().confirm(targetInfo.isSymLink() ? kAskReplaceLink : kAskOverwrite)) {
            const QString taken = name;
            name = AttachmentFolder::unusedName(name, kNameCapacity);
            if (name.isEmpty()) {
                desktop().warning(kNameTooLong);
                return;
            }
            targetInfo = QFileInfo(folder + name);
            elsewhere = !renamed && name != taken;
        }
    }
    const QString failure = copyReplacing(source, targetInfo.filePath());
    if (!failure.isEmpty()) {
        desktop().warning(kCopyFailed + failure);
        return;
    }
    txtFile[slot]->setText(name);
    if (renamed)
        desktop().information(kRenamed.arg(name));
    else if (elsewhere)
        desktop().information(kCopiedUnderFreeName.arg(picked, name));
}

void FrmAllegaCartella::btnApriClick(int slot)
{
    const QString file = AttachmentFolder::fileFor(txtFile[slot]->text());
    if (file.isEmpty())
        return;
    desktop().open(QLatin1Char('"') + QDir::toNativeSeparators(file) + QLatin1Char('"'));
}

void FrmAllegaCartella::imgCancellaClick(int slot)
{
    txtFile[slot]->clear();
}

void FrmAllegaCartella::btnApplicaClick()
{
    if (m_editor && stateOf(lblMemory) == m_caller) {
        m_editor->setAttachments(attachments());
        accept();
    }
}

void FrmAllegaCartella::btnAnnullaClick()
{
    reject();
}
