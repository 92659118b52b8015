#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QWidget;
class WindowSet;

// The windows the user guide shows: each opened offscreen on sample data and grabbed as the
// program paints it, when the guide is built. The guide names a picture by its entry's name:
// ![caption](finestra:<name>).
namespace GuideWindows
{

// Everything a window needs to be opened: the whole-run windows on a sample data folder.
struct Stage {
    WindowSet *windows = nullptr;
    QString collectionPath; // the sample collection, open in the song editor
    // A per-use window opened for one picture; destroyed after the grab.
    std::unique_ptr<QWidget> perUse;
};

struct Entry {
    const char *name;
    // Returns the window to grab, shown and posed; whole-run windows are hidden again after it.
    std::function<QWidget *(Stage &)> open;
};

// One entry per window; a window that lands later is one more entry.
const std::vector<Entry> &table();

// Writes the sample archives into the data folder ProgramFolder points at.
void writeSamples(Stage &stage);

// Shows `window` at its designed size, lets it settle and grabs it.
QImage grab(QWidget *window);

} // namespace GuideWindows
