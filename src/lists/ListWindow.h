#pragma once

#include "app/Windows.h"
#include "lists/ListOrder.h"

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class ResultList;

// What every list window shares: the result list of record lines, find in list, the printed
// list and opening the record of a line. A window states its own controls' places, its report
// title and closing lines; opening a line hands its record's position back to the opener.
class ListWindow : public FixedDialog
{
    Q_OBJECT
public:
    ListWindow(QWidget *owner, const QString &name, const QString &title, const QSize &client,
               const QColor &top, const QColor &bottom, const QSize &panel);

    // What the opener does with the position of a picked line: it reads the record afresh and
    // shows it. It may throw FileError.
    using Opener = std::function<void(qint64 position)>;
    void setOpener(Opener open) { m_open = std::move(open); }

    // Shared controls, created by buildResultPanel() or by the window itself.
    QLineEdit *txtTrova = nullptr;
    QPushButton *btnTrova = nullptr;
    ResultList *lstRecords = nullptr;
    QPushButton *btnStampa = nullptr;
    QPushButton *btnChiudi = nullptr;

    // The report title and the lines the printed list holds, closing lines included.
    virtual QString reportTitle() const = 0;
    QStringList printedLines() const;

    static const QString kEmptyList;

protected:
    // The result panel of the searches and the flagged songs on `p`; `lblTrovate` only when
    // `count` is given.
    void buildResultPanel(QWidget *p, QLabel **count);
    // Wires the shared handlers of the controls already created; a double-click on a line
    // opens its record only in the windows that say so.
    enum class DoubleClick { Opens, Ignored };
    void connectList(DoubleClick doubleClick = DoubleClick::Opens);

    virtual QStringList closingLines() const { return {}; }
    // Hands `position` to the opener, if any; throws what the opener throws.
    virtual void openRecord(qint64 position);

    // The last find text is forgotten, the first line selected, txtTrova emptied.
    void resetFind();
    // Empties the list and closes the window.
    virtual void closeList();

    void btnTrovaClick();
    void lstRecordsDblClick();
    void btnChiudiClick();
    void btnStampaClick();

    Lists::FindInList m_find;

private:
    Opener m_open;
};

// Shared looks of the list windows.
namespace ListLook
{
QPushButton *button(QWidget *parent, const QString &name, const QString &text, const QRect &geometry);
QLabel *label(QWidget *parent, const QString &name, const QString &text, const QPoint &at, qreal points = 9,
              bool bold = false, const QColor &colour = Qt::black);
QLineEdit *findField(QWidget *parent, const QRect &geometry);
} // namespace ListLook
