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
    // AllAtOnce creates the seven windows now; LoginFirst creates the login window now and the
    // other six, in order, as soon as the login window has been painted (the program's start).
    enum class Creation { AllAtOnce, LoginFirst };
    explicit WindowSet(Creation creation = Creation::AllAtOnce);
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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createOthers();
    void move(QWidget *to, QWidget *from);

    FrmPassword *m_password = nullptr;
    FrmAvvio *m_avvio = nullptr;
    FrmCambiaPassword *m_cambia = nullptr;
    FrmAnagrafica *m_anagrafica = nullptr;
    FrmCreaCollection *m_crea = nullptr;
    FrmApriCollection *m_apri = nullptr;
    FrmCollection *m_collection = nullptr;
};
