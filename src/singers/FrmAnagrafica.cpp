#include "singers/FrmAnagrafica.h"

FrmAnagrafica::FrmAnagrafica()
    : WorkWindow(QStringLiteral("frmAnagrafica"), QStringLiteral(" Cantorium - Archivio Cantanti"), QColor(0x46, 0x82, 0xB4))
{
}

