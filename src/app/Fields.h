#pragma once

#include "app/Look.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

// The shared looks and reactions of fields and commands; each window wires a field or a
// command with one call.
namespace Fields {

inline const QColor &kIdleFill = Look::kAliceBlue;
inline const QColor &kFocusFill = Look::kYellow;
inline const QColor &kBorder = Look::kSkyBlue;

// Background style: alice blue with a sky-blue border, yellow while focused.
void backgroundHighlight(QLineEdit *field);
// The fill the field shows now (for the background style).
QColor fillOf(const QWidget *field);

// Frame style: creates the companion rectangle `name` 4 units outside the field, behind it,
// hidden until the field has the focus.
QWidget *frameHighlight(QLineEdit *field, const QString &name);

// Enter in any field of the chain moves to the next one; the last leads to `afterLast`
// (the first field when null). The key does nothing else.
void enterChain(const QList<QWidget *> &chain, QWidget *afterLast = nullptr);

// Hint line: a command writes its hint into the line when the mouse moves over it; a
// background element empties the line when the mouse moves over the element itself.
class HintLine : public QObject
{
public:
    explicit HintLine(QLabel *panInfo);
    // The hint is also the command's tool tip and, for a picture without words, the name a
    // screen reader speaks. `keys`, when given, are the keys that run the command: the line
    // and the tool tip show them after the hint, as "hint (Ctrl+S)".
    void command(QWidget *control, const QString &hint, const QString &keys = QString());
    void background(QWidget *element);
    QLabel *label() const { return m_label; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_label;
};

} // namespace Fields
