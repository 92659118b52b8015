#pragma once

#include <QColor>
#include <QLabel>

class ClickPicture;

// A clickable underlined text (lnkWeb): dark blue normally, orange while a mouse button is
// held down on it, dark blue again on release and on click. A picture beside it can be
// attached so that it acts exactly like the text.
class TextLink : public QLabel
{
    Q_OBJECT
public:
    static const QColor kNormal;  // Look::kLink
    static const QColor kPressed; // Look::kLinkPressed

    TextLink(QWidget *parent, const QString &name, const QString &text, const QPoint &at);

    // Presses, releases and clicks on `picture` count as presses, releases and clicks here.
    void attach(ClickPicture *picture);

    QColor colour() const { return m_colour; }
    void setColour(const QColor &colour);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void press();
    void release();
    void click();

    QColor m_colour;
};
