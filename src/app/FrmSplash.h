#pragma once

#include "app/Windows.h"

class Artwork;
class ClickPicture;
class QPushButton;
class TextLink;

// The maker window: the maker's brand picture and a link to the maker's web site. It opens
// centred on the window that opened it.
class FrmSplash : public FixedDialog
{
    Q_OBJECT
public:
    explicit FrmSplash(QWidget *owner = nullptr);

    Artwork *imgLogo = nullptr;
    QPushButton *btnChiudi = nullptr;
    ClickPicture *imgWeb = nullptr;
    TextLink *lnkWeb = nullptr;

private:
    void lnkWebClick();
    void btnChiudiClick();
};
