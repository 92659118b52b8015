#include "table/TableCompanion.h"

#include "app/CardEditor.h"
#include "table/FrmElenco.h"

TableCompanion::TableCompanion(CardEditor *editor, ArchiveKind kind)
    : QObject(editor)
    , m_editor(editor)
    , m_kind(kind)
{
    connect(editor, &CardEditor::cardStored, this, [this](qint64 position) {
        if (m_window)
            m_window->updateCard(position);
    });
    // The view goes with the editor: leaving the editor closes it.
    connect(editor, &WorkWindow::closing, this, &TableCompanion::close);
}

TableCompanion::~TableCompanion()
{
    delete m_window;
}

FrmElenco *TableCompanion::show(const QString &path)
{
    if (m_window && m_window->path() != path)
        close();
    if (!m_window) {
        // A window of its own, kept above the editor that owns it.
        m_window = new FrmElenco(path, m_kind, m_editor);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_window, &FrmElenco::cardPicked, m_editor, [this](qint64 position) {
            m_editor->showStoredCard(position);
            m_editor->activateWindow();
        });
        connect(m_window, &FrmElenco::songbookRequested, this, [this](const QList<qint64> &positions) {
            if (m_songbook)
                m_songbook(positions);
        });
        m_window->setSongbookShown(m_kind == ArchiveKind::Songs);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return m_window;
}

void TableCompanion::close()
{
    if (m_window)
        m_window->close();
    delete m_window; // closed windows are deleted later; this one goes now
}
