#pragma once

#include "app/Windows.h"
#include "attachments/Attachments.h"

#include <array>

class Artwork;
class ClickPicture;
class CardEditor;
class QLabel;
class QLineEdit;
class QPushButton;

// "Allega file": the three attachments of the card shown in an editor. Files are copied into
// Documenti_Allegati at once; names and descriptions go back to the editor only on
// "Applica e chiudi", and reach the card when the user saves it there.
class FrmAllegaCartella : public FixedDialog
{
    Q_OBJECT
public:
    // The editor gets the values back when lblMemory still holds `caller`, the word that says
    // which kind of editor it is ("collection" or "anagrafica").
    FrmAllegaCartella(CardEditor *editor, const QString &caller);

    static const QString kDialogTitle;
    static const QString kAskOverwrite;
    static const QString kAskReplaceLink;
    static const QString kRenamed; // %1: the name used
    static const QString kCopyFailed;
    static const QString kNameUnusable;
    static const QString kCopiedUnderFreeName; // %1: the name taken, %2: the copy's
    static const QString kNameTooLong;
    // The most bytes a card keeps of a name.
    static constexpr int kNameCapacity = 250;

    // Fills the six fields with the editor's values, trimmed.
    void setAttachments(const Attachments &values);
    // The six fields as they stand, trimmed.
    Attachments attachments() const;

    // Handlers; `slot` is 0, 1 or 2.
    void btnSfogliaClick(int slot);
    void btnApriClick(int slot);
    void imgCancellaClick(int slot);
    void txtFileChange(int slot);
    void btnApplicaClick();
    void btnAnnullaClick();

    QWidget *shpSfondo = nullptr;
    Artwork *imgLogo = nullptr;
    std::array<QWidget *, 3> shpFile{};
    QLabel *lblMemory = nullptr;
    std::array<QLabel *, 6> lblCampo{}; // lblCampo01 .. lblCampo06
    std::array<QLineEdit *, 3> txtFile{}, txtDesc{};
    std::array<ClickPicture *, 3> imgCancella{};
    std::array<QPushButton *, 3> btnSfoglia{}, btnApri{};
    QPushButton *btnAnnulla = nullptr, *btnApplica = nullptr;

private:
    explicit FrmAllegaCartella(QWidget *owner);

    CardEditor *m_editor = nullptr;
    QString m_caller; // the lblMemory word that hands the values back to m_editor
};
