#pragma once

#include "table/CardIndex.h"

#include <QObject>
#include <QPointer>

#include <functional>

class CardEditor;
class FrmElenco;

// The table view that goes with an editor: one at a time, on the editor's archive. A row
// picked in it opens its card in the editor (through the editor's question about unsaved
// changes); a save in the editor shows at once in its row.
class TableCompanion : public QObject
{
    Q_OBJECT
public:
    TableCompanion(CardEditor *editor, ArchiveKind kind);
    ~TableCompanion() override;

    // Opens the view on `path`, or brings the open one forward; a view of another file
    // closes first.
    FrmElenco *show(const QString &path);
    void close();
    FrmElenco *window() const { return m_window; }

    // What the view's songbook button does with the positions it hands over (songs only).
    void onSongbook(std::function<void(const QList<qint64> &)> open) { m_songbook = std::move(open); }

private:
    CardEditor *m_editor;
    ArchiveKind m_kind;
    QPointer<FrmElenco> m_window;
    std::function<void(const QList<qint64> &)> m_songbook;
};
