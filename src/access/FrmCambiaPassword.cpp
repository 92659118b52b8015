#include "access/FrmCambiaPassword.h"

FrmCambiaPassword::FrmCambiaPassword()
    : FixedWindow(QStringLiteral("frmCambiaPassword"), QStringLiteral(" Cambia password"), QSize(411, 418),
                  QColor(0x46, 0x82, 0xB4), Qt::white, QSize(385, 390))
{
}
