#include "collections/FrmCreaCollection.h"

FrmCreaCollection::FrmCreaCollection()
    : WorkWindow(QStringLiteral("frmCreaCollection"), QStringLiteral(" Cantorium - Creazione collection musicale"), QColor(0x46, 0x82, 0xB4))
{
}

