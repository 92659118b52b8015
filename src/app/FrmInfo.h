#pragma once

#include "app/Windows.h"

class Artwork;
class ClickPicture;
class QLabel;
class QPushButton;
class TextLink;

// The about window: the product's logo and the maker's support e-mail address, which opens
// a new message in the user's mail program.
class FrmInfo : public FixedDialog
{
    Q_OBJECT
public:
    explicit FrmInfo(QWidget *owner = nullptr);

    // The mail link handed to the desktop shell, quoted as the shell expects it.
    static QString mailCommand();

    QWidget *shpSfondo = nullptr;
    Artwork *imgLogo = nullptr;
    QPushButton *btnChiudi = nullptr;
    QLabel *lblDettagli = nullptr; // product, version and maker
    ClickPicture *imgEmail = nullptr;
    TextLink *lnkWeb = nullptr;

private:
    void lnkWebClick();
    void btnChiudiClick();
};
