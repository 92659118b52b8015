#include "output/FrmAnteprimaAnagrafica.h"

#include "singers/FrmAnagrafica.h"

FrmAnteprimaAnagrafica::FrmAnteprimaAnagrafica(FrmAnagrafica *editor)
    : SingerCardWindow(editor, {"frmAnteprimaAnagrafica", Mode::Preview, QSize(364, 287),
                                QColor::fromRgba(0xFF427AA8), 326, 145, 200, "Mostra anteprima"})
{
}
