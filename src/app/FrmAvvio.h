#pragma once

#include "app/Windows.h"

#include <QStringList>

class Artwork;
class ClickPicture;

// The launcher: the hub from which the user reaches the singer archive, the collections,
// the help, the about window and the maker's site. The window set turns its signals into
// the moves between windows, and its closing() into the end of the program. Its help tells
// about every part of the program, so whoever builds the launcher hands it the paragraphs.
class FrmAvvio : public WorkWindow
{
    Q_OBJECT
public:
    explicit FrmAvvio(const QStringList &helpParagraphs = {});

    // The white sheet that holds every control.
    QWidget *bkgFoglio = nullptr;
    Artwork *imgIcona = nullptr;
    Artwork *imgTitolo = nullptr;
    Artwork *imgSottotitolo = nullptr;
    ClickPicture *imgCantanti = nullptr, *btnCantanti = nullptr, *appCantanti = nullptr;
    ClickPicture *imgCrea = nullptr, *btnCrea = nullptr, *appCrea = nullptr;
    ClickPicture *imgApri = nullptr, *btnApri = nullptr, *appApri = nullptr;
    ClickPicture *imgInfo = nullptr;
    ClickPicture *imgGuida = nullptr;
    ClickPicture *imgCopyright = nullptr;
    ClickPicture *imgSito = nullptr;
    ClickPicture *imgEsci = nullptr;
    // Backups of the data folder: make one, restore one.
    ClickPicture *imgCopia = nullptr;
    ClickPicture *imgRipristina = nullptr;

signals:
    void openSingers();
    void openCreate();
    void openList();
    void exitRequested();
    void backupRequested();
    void restoreRequested();

private:
    void imgCantantiClick();
    void imgCreaClick();
    void imgApriClick();
    void imgInfoClick();
    void imgGuidaClick();
    void imgCopyrightClick();
    void imgSitoClick();
    void imgEsciClick();
    void imgCopiaClick();
    void imgRipristinaClick();

    QStringList m_help;
};
