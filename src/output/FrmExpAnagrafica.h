#pragma once

#include "output/ExportWindow.h"

// Export of the singer archive Archivio_Cantanti.pro to Archivio_Cantanti.xls.
class FrmExpAnagrafica : public ExportWindow
{
    Q_OBJECT
public:
    explicit FrmExpAnagrafica(QWidget *owner);
};
