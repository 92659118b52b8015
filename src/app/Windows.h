#pragma once

#include <QColor>
#include <QDialog>
#include <QWidget>

// A whole-run work window: opened maximised, vertical gradient background, the designed
// 1016 x 713 client area kept centred as panel `panContainer` of the given size.
class WorkWindow : public QWidget
{
    Q_OBJECT
public:
    WorkWindow(const QString &name, const QString &title, const QColor &top,
               const QSize &panel = QSize(994, 692));
    QWidget *panel() const { return m_panel; }
    // Shows the window where the user left it, or maximised the first time (the designed area
    // centred in it, or grown with it).
    void showWorkWindow();

    // How a control follows the panel past its designed size: each edge moves by its share
    // (0 to 1) of the extra width (left, right) or height (top, bottom). Controls not named
    // here keep their places.
    struct Edges {
        double left, top, right, bottom;
    };
    static constexpr Edges kWider{0, 0, 1, 0};
    static constexpr Edges kDown{0, 1, 0, 1};
    static constexpr Edges kWiderDown{0, 1, 1, 1};
    static constexpr Edges kFill{0, 0, 1, 1};
    // The panel grows with the window from now on; the size and place the user gives the
    // window are remembered between runs.
    void growWithWindow();
    // Registers `control` (a child of the panel, at its designed place now).
    void grow(QWidget *control, Edges edges);
    bool grows() const { return m_grows; }
    // The panel's designed size.
    QSize designedPanel() const { return m_designed; }

signals:
    // Emitted when the window is closed by any means, before it hides.
    void closing();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void placeGrowing();
    QString settingsKey() const;

    QColor m_top;
    QWidget *m_panel;
    QSize m_designed;
    bool m_grows = false;
    struct Growing {
        QWidget *control;
        QRect designed;
        Edges edges;
    };
    QList<Growing> m_growing;
};

// A fixed-size window without title-bar buttons, centred; `panel` is centred inside it.
// Used as a whole-run window (login, change password).
class FixedWindow : public QWidget
{
    Q_OBJECT
public:
    FixedWindow(const QString &name, const QString &title, const QSize &client, const QColor &top,
                const QColor &bottom, const QSize &panel);
    QWidget *panel() const { return m_panel; }
    void centre();

signals:
    void closing();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QColor m_top, m_bottom;
    QWidget *m_panel;
};

// A per-use modal dialog of fixed size without title-bar buttons, centred on the screen or
// on its owner, with a vertical gradient and a centred panel.
class FixedDialog : public QDialog
{
    Q_OBJECT
public:
    FixedDialog(QWidget *owner, const QString &name, const QString &title, const QSize &client,
                const QColor &top, const QColor &bottom, const QSize &panel);
    QWidget *panel() const { return m_panel; }
    // Windows marked "owner" centre on the window that opened them instead of the screen.
    void setCentreOnOwner(bool on) { m_centreOnOwner = on; }
    // Lets Esc close the window through `closeCommand`, its own closing command (a push
    // button or a picture command), so it closes exactly as a click on it would. Only
    // windows that hold nothing the user could lose take this.
    void closeOnEscape(QWidget *closeCommand);

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QColor m_top, m_bottom;
    QWidget *m_panel;
    bool m_centreOnOwner = false;
    QList<QWidget *> m_escapeCommands;
};

// Centres a top-level window on the screen, or on `owner` when given.
void centreWindow(QWidget *window, QWidget *owner = nullptr);
