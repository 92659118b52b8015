#include "output/FrmStampaAnagrafica.h"

#include "singers/FrmAnagrafica.h"

FrmStampaAnagrafica::FrmStampaAnagrafica(FrmAnagrafica *editor)
    : SingerCardWindow(editor, {"frmStampaAnagrafica", Mode::Print, QSize(364, 287),
                                QColor::fromRgba(0xFF427AA8), 326, 145, 200, "Stampa"})
{
}
