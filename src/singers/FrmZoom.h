#pragma once

#include "singers/PhotoWindow.h"

class QImage;

// The zoom window: the editor's photo as large as the screen allows, closed by a click.
class FrmZoom : public PhotoWindow
{
    Q_OBJECT
public:
    explicit FrmZoom(QWidget *owner = nullptr);
    void setPicture(const QImage &picture);
};
