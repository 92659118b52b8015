#include "lists/ListCommands.h"

#include "app/Desktop.h"
#include "lists/FrmFilmografiaAttori.h"
#include "lists/FrmSegnalati.h"
#include "lists/FrmTrovaAnagrafica.h"
#include "lists/FrmTrovaCanzone.h"

#include <QLabel>

namespace ListCommands
{

void findSong(FrmCollection *editor)
{
    FrmTrovaCanzone window(editor);
    window.lblMemory->setText(QStringLiteral("collection"));
    desktop().runModal(&window);
}

void flaggedSongs(FrmCollection *editor)
{
    FrmSegnalati window(editor);
    desktop().runModal(&window);
}

void importSinger(FrmCollection *editor)
{
    FrmTrovaAnagrafica window(editor);
    window.lblMemory->setText(QStringLiteral("collection"));
    desktop().runModal(&window);
}

void findSinger(FrmAnagrafica *editor)
{
    FrmTrovaAnagrafica window(editor);
    window.lblMemory->setText(QStringLiteral("anagrafica"));
    desktop().runModal(&window);
}

void discography(FrmAnagrafica *editor)
{
    FrmFilmografiaAttori window(editor);
    desktop().runModal(&window);
}

} // namespace ListCommands
