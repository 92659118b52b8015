#pragma once

#include <QLabel>

// A picture that only decorates (no cursor, no clicks): SVG artwork from the resources,
// rendered at the label's size.
class Artwork : public QLabel
{
    Q_OBJECT
public:
    Artwork(QWidget *parent, const QString &name, const QString &resource, const QRect &geometry);
    QString resource() const { return m_resource; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void render();
    QString m_resource;
};
