#include "output/FrmStampaCanzone.h"

#include "collections/FrmCollection.h"

FrmStampaCanzone::FrmStampaCanzone(FrmCollection *editor)
    : SongCardWindow(editor, {"frmStampaCanzone", Mode::Print, QSize(362, 287), QColor(0x46, 0x82, 0xB4), 327,
                              137, 208, "Stampa"})
{
}
