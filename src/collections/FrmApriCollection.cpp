#include "collections/FrmApriCollection.h"

FrmApriCollection::FrmApriCollection()
    : WorkWindow(QStringLiteral("frmApriCollection"), QStringLiteral(" Cantorium - Apertura collection musicale"), QColor(0x46, 0x82, 0xB4))
{
}

