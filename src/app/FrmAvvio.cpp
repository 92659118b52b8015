#include "app/FrmAvvio.h"

FrmAvvio::FrmAvvio()
    : WorkWindow(QStringLiteral("frmAvvio"), QStringLiteral(" Cantorium"), QColor(0x46, 0x82, 0xB4))
{
}

