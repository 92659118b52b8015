#include "output/FrmAnteprimaCanzone.h"

#include "collections/FrmCollection.h"

FrmAnteprimaCanzone::FrmAnteprimaCanzone(FrmCollection *editor)
    : SongCardWindow(editor, {"frmAnteprimaCanzone", Mode::Preview, QSize(362, 287), QColor(0x46, 0x82, 0xB4),
                              327, 137, 208, "Mostra anteprima"})
{
}
