#pragma once

#include <QObject>

class FrmPassword;
class FrmAvvio;
class FrmCambiaPassword;
class FrmAnagrafica;
class FrmCreaCollection;
class FrmApriCollection;
class FrmCollection;
class QWidget;

// The composition root: owns the seven whole-run windows, created in this order at start-up,
// and the flows between them (the new window is shown first, then the old one is hidden).
// Per-use windows never reach it: each is given the window that opened it.
class WindowSet : public QObject
{
    Q_OBJECT
public:
    WindowSet();
    ~WindowSet() override;

    // Shows the login window, the only one visible at start.
    void start();

    FrmPassword *password() const { return m_password; }
    FrmAvvio *avvio() const { return m_avvio; }
    FrmCambiaPassword *cambiaPassword() const { return m_cambia; }
    FrmAnagrafica *anagrafica() const { return m_anagrafica; }
    FrmCreaCollection *creaCollection() const { return m_crea; }
    FrmApriCollection *apriCollection() const { return m_apri; }
    FrmCollection *collection() const { return m_collection; }

signals:
    // The program must end (launcher exit or close, login exit).
    void terminateRequested();

private:
    void move(QWidget *to, QWidget *from);

    FrmPassword *m_password = nullptr;
    FrmAvvio *m_avvio = nullptr;
    FrmCambiaPassword *m_cambia = nullptr;
    FrmAnagrafica *m_anagrafica = nullptr;
    FrmCreaCollection *m_crea = nullptr;
    FrmApriCollection *m_apri = nullptr;
    FrmCollection *m_collection = nullptr;
};
