#include "lists/ListCommands.h"

#include "app/Desktop.h"
#include "lists/FrmFilmografiaAttori.h"
#include "lists/FrmSegnalati.h"
#include "lists/FrmTrovaAnagrafica.h"
#include "lists/FrmTrovaCanzone.h"


namespace ListCommands
{

void findSong(QWidget *owner, const QString &collection, const ListWindow::Opener &open)
{
    FrmTrovaCanzone window(owner, collection, open);
    window.setCaller(SearchWindow::Caller::SongEditor);
    desktop().runModal(&window);
}

void flaggedSongs(QWidget *owner, const QString &collection, const ListWindow::Opener &open)
{
    FrmSegnalati window(owner, collection, open);
    desktop().runModal(&window);
}

void importSinger(QWidget *owner, const ListWindow::Opener &open)
{
    FrmTrovaAnagrafica window(owner, open);
    window.setCaller(SearchWindow::Caller::SongEditor);
    desktop().runModal(&window);
}

void findSinger(QWidget *owner, const ListWindow::Opener &open)
{
    FrmTrovaAnagrafica window(owner, open);
    window.setCaller(SearchWindow::Caller::SingerEditor);
    desktop().runModal(&window);
}

void discography(QWidget *owner, qint64 singer, const QString &name)
{
    FrmFilmografiaAttori window(owner, singer, name);
    desktop().runModal(&window);
}

} // namespace ListCommands
