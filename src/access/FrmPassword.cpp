#include "access/FrmPassword.h"

FrmPassword::FrmPassword()
    : FixedWindow(QStringLiteral("frmPassword"), QStringLiteral(" Cantorium - Autenticazione"), QSize(388, 405),
                  QColor(0x46, 0x82, 0xB4), Qt::white, QSize(360, 378))
{
}

void FrmPassword::returnFromChange() {}
