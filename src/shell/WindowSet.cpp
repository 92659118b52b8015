#include "shell/WindowSet.h"

#include "access/FrmCambiaPassword.h"
#include "access/FrmPassword.h"
#include "app/Desktop.h"
#include "app/FrmAvvio.h"
#include "attachments/Attachments.h"
#include "backup/BackupCommands.h"
#include "backup/Backups.h"
#include "collections/FrmApriCollection.h"
#include "collections/FrmCollection.h"
#include "collections/FrmCreaCollection.h"
#include "core/AtomicFile.h"
#include "core/ScratchFolder.h"
#include "core/ProgramFolder.h"
#include "shell/LauncherHelp.h"
#include "singers/FrmAnagrafica.h"
#include "records/SingerPhoto.h"

#include <QEvent>

WindowSet::WindowSet(Creation creation)
{
    // Creation order matters: the login window is the main window, and the launcher's
    // creation sets the process-wide formats before the editors are built.
    m_password = new FrmPassword;
    if (creation == Creation::AllAtOnce) {
        createOthers();
        return;
    }
    // The other six follow the login window's first paint, before any input reaches it: the
    // user sees the login window without waiting for the editors to be built.
    m_password->installEventFilter(this);
}

bool WindowSet::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_password && event->type() == QEvent::Paint && !m_avvio) {
        m_password->removeEventFilter(this);
        QMetaObject::invokeMethod(this, [this] { createOthers(); }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void WindowSet::createOthers()
{
    m_avvio = new FrmAvvio(launcherHelpParagraphs());
    m_cambia = new FrmCambiaPassword;
    m_anagrafica = new FrmAnagrafica;
    m_crea = new FrmCreaCollection;
    m_apri = new FrmApriCollection;
    m_collection = new FrmCollection;

    connect(m_password, &FrmPassword::loginAccepted, this, [this] { move(m_avvio, m_password); });
    connect(m_password, &FrmPassword::changeRequested, this, [this] { move(m_cambia, m_password); });
    connect(m_password, &FrmPassword::exitRequested, this, &WindowSet::terminateRequested);
    // The login window is the main window: closing it ends the program.
    connect(m_password, &FixedWindow::closing, this, &WindowSet::terminateRequested);
    connect(m_cambia, &FixedWindow::closing, this, [this] {
        m_password->show();
        m_password->returnFromChange();
    });

    connect(m_avvio, &FrmAvvio::openSingers, this, [this] { move(m_anagrafica, m_avvio); });
    connect(m_avvio, &FrmAvvio::openCreate, this, [this] { move(m_crea, m_avvio); });
    connect(m_avvio, &FrmAvvio::openList, this, [this] { move(m_apri, m_avvio); });
    connect(m_avvio, &FrmAvvio::exitRequested, this, &WindowSet::terminateRequested);
    connect(m_avvio, &WorkWindow::closing, this, &WindowSet::terminateRequested);
    connect(m_avvio, &FrmAvvio::backupRequested, this, [this] { BackupCommands::backupNow(m_avvio); });
    connect(m_avvio, &FrmAvvio::restoreRequested, this, [this] { BackupCommands::restoreWindow(m_avvio); });

    // Closing a work window shows the launcher; the closing window then hides itself.
    for (WorkWindow *w : {static_cast<WorkWindow *>(m_anagrafica), static_cast<WorkWindow *>(m_crea),
                          static_cast<WorkWindow *>(m_collection)})
        connect(w, &WorkWindow::closing, this, [this] { m_avvio->showWorkWindow(); });
    connect(m_apri, &WorkWindow::closing, this, [this] {
        if (m_apri->opensCollection()) {
            m_collection->openCollection(m_apri->chosenPath(), m_apri->chosenName());
            m_collection->showWorkWindow();
            // The whole collection at a glance, beside the editor, as soon as it opens.
            m_collection->showTable();
        } else {
            m_avvio->showWorkWindow();
        }
    });
}

WindowSet::~WindowSet()
{
    // Reverse order of creation.
    delete m_collection;
    delete m_apri;
    delete m_crea;
    delete m_anagrafica;
    delete m_cambia;
    delete m_avvio;
    delete m_password;
}

void WindowSet::start()
{
    // Temporaries of whole-file writes that a run killed at the wrong moment left behind.
    for (const QString &folder : {ProgramFolder::path(), SingerPhoto::folder(), AttachmentFolder::path(),
                                  Backups::folder(ProgramFolder::path())})
        AtomicFile::removeLeftovers(folder);
    // A restore that a kill cut short during its swap is finished before anything reads the data.
    try {
        Backups::recover(ProgramFolder::path());
    } catch (const Backups::Error &e) {
        desktop().error(e.message());
    }
    ScratchFolder::removeLeftovers();
    m_password->centre();
    m_password->show();
}

void WindowSet::move(QWidget *to, QWidget *from)
{
    if (auto *work = qobject_cast<WorkWindow *>(to))
        work->showWorkWindow();
    else
        to->show();
    from->hide();
}
