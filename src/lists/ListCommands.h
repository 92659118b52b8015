#pragma once

class FrmAnagrafica;
class FrmCollection;

// The editors' commands that open a list window: each creates the window over its editor,
// runs it modally and discards it.
namespace ListCommands
{
void findSong(FrmCollection *editor);     // song editor's cmdTrova
void flaggedSongs(FrmCollection *editor); // song editor's cmdSegnala
void importSinger(FrmCollection *editor); // song editor's impCantante
void findSinger(FrmAnagrafica *editor);   // singer editor's cmdTrova
void discography(FrmAnagrafica *editor);  // singer editor's btnFilmografia, after its checks
} // namespace ListCommands
