#pragma once

#include "lists/ListWindow.h"

// The editors' commands that open a list window: each creates the window over its opener,
// runs it modally and discards it. A picked line's position goes to `open`.
namespace ListCommands
{
void findSong(QWidget *owner, const QString &collection, const ListWindow::Opener &open);
void flaggedSongs(QWidget *owner, const QString &collection, const ListWindow::Opener &open);
// The singer search for the song editor (its impCantante) and for the singer editor.
void importSinger(QWidget *owner, const ListWindow::Opener &open);
void findSinger(QWidget *owner, const ListWindow::Opener &open);
// The discography of the singer card at `singer`, stage name `name`.
void discography(QWidget *owner, qint64 singer, const QString &name);
} // namespace ListCommands
