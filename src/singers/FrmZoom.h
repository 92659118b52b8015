#pragma once

#include "singers/PhotoWindow.h"

#include "records/SingerPhoto.h"

class QImage;

// The zoom window: the editor's photo as large as the screen allows, closed by a click.
class FrmZoom : public PhotoWindow
{
    Q_OBJECT
public:
    explicit FrmZoom(QWidget *owner = nullptr);
    void setPicture(const QImage &picture);
    // The editor's photo, decoded at the size the zoom shows it; the editor's placeholder
    // stands in when it cannot be decoded.
    void setPhoto(const SingerPhoto::Photo &photo, const QImage &fallback);
};
