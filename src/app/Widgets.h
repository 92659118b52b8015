#pragma once

#include "app/Look.h"

#include <QLabel>
#include <QMargins>
#include <QString>

class QColor;
class QFont;
class QPushButton;

// A picture command: SVG artwork (or an image resource) that acts on a single click, shows a
// hand cursor and never takes the keyboard focus.
class ClickPicture : public QLabel
{
    Q_OBJECT
public:
    ClickPicture(QWidget *parent, const QString &name, const QString &resource, const QRect &geometry);
    void setResource(const QString &resource);
    // The keys that run the command, as the user reads them ("Ctrl+S"); screen readers say them.
    static const char *const kShortcutProperty;

signals:
    void clicked();
    void pressed();
    void released();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void render();
    QString m_resource;
};

// Gives `control` the accessible name a screen reader speaks for it: `caption`, the words the
// user reads beside it, without a closing colon. Also makes the caption label, when given,
// the control's buddy.
void nameAfter(QWidget *control, const QString &caption, QLabel *captionLabel = nullptr);

// A hidden label that carries window state (lblFile, lblPosizione, lblMemory, ...).
QLabel *stateLabel(QWidget *parent, const QString &name);
// The state label's text, trimmed as every reader must.
QString stateOf(const QLabel *label);

// A plain decorative rectangle (shp…, bkg…, sfo…); a null `to` gives a flat fill.
QWidget *shape(QWidget *parent, const QString &name, const QRect &geometry, const QColor &fill,
               const QColor &border, const QColor &gradientTo = QColor());

// Words laid over a picture, in a font and colour, within the picture less `margins`; clicks
// go through to the picture underneath.
QLabel *wordsOn(QWidget *picture, const QString &text, const QFont &font, const QColor &colour,
                Qt::Alignment alignment, const QMargins &margins = QMargins());

// A push button as the windows make it: named, placed, with a hand cursor (unless another
// `cursor` is given), never a dialog's default button. A `font` from Look::font; none keeps the
// window's own.
QPushButton *pushButton(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
                        const QFont &font = QFont(), Qt::CursorShape cursor = Qt::PointingHandCursor);

// A label at a place with a font of `points` (Look::font); `name` may be empty for unnamed
// captions.
QLabel *caption(QWidget *parent, const QString &name, const QString &text, const QPoint &at,
                const QString &family = Look::kFamily, qreal points = 9, bool bold = false);
