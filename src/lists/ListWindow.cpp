#include "lists/ListWindow.h"

#include "app/Artwork.h"
#include "app/Desktop.h"
#include "app/Fields.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "core/RecordFile.h"
#include "lists/ResultList.h"
#include "report/ListReport.h"
#include "report/ReportLayout.h"
#include "report/ReportTemplates.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

const QString ListWindow::kEmptyList =
    QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce.");

namespace
{
// Enter on a focused button presses it, as the space bar does. The buttons are not auto-default,
// so that Enter in a field never presses one.
class EnterPresses : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        auto *button = qobject_cast<QPushButton *>(watched);
        if (!button || !button->isEnabled() || key->isAutoRepeat())
            return false;
        button->click();
        return true;
    }
};
} // namespace

namespace ListLook
{
QPushButton *button(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    QPushButton *b = pushButton(parent, name, text, geometry, Look::uiFont(9),
                                Qt::ArrowCursor);
    b->installEventFilter(new EnterPresses(b));
    return b;
}

QLabel *label(QWidget *parent, const QString &name, const QString &text, const QPoint &at, qreal points,
              bool bold, const QColor &colour)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setFont(Look::uiFont(points, bold));
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colour);
    l->setPalette(p);
    l->move(at);
    l->adjustSize();
    return l;
}

QLineEdit *findField(QWidget *parent, const QRect &geometry)
{
    auto *f = new QLineEdit(parent);
    f->setObjectName(QStringLiteral("txtTrova"));
    f->setFont(Look::uiFont(12, true));
    f->setGeometry(geometry);
    nameAfter(f, QStringLiteral("Parole da trovare nell'elenco"));
    return f;
}
} // namespace ListLook

ListWindow::ListWindow(QWidget *owner, const QString &name, const QString &title, const QSize &client,
                       const QColor &top, const QColor &bottom, const QSize &panel)
    : FixedDialog(owner, name, title, client, top, bottom, panel)
{
    // Printed lists date their footer in the program's short format.
}

void ListWindow::buildResultPanel(QWidget *p, QLabel **count)
{
    using namespace ListLook;
    new Artwork(p, QStringLiteral("imgLogo"), QStringLiteral(":/lists/banner.svg"), QRect(0, 0, 833, 60));
    new Artwork(p, QStringLiteral("imgLente"), QStringLiteral(":/lists/lente.svg"), QRect(8, 72, 52, 52));
    label(
        p, QStringLiteral("lblRigo01"),
        QStringLiteral("Immettere una o più parole consecutive presenti nella scheda in elenco da cercare e "
                       "premere il pulsante Trova."),
        QPoint(70, 70));
    label(
        p, QStringLiteral("lblRigo02"),
        QStringLiteral("Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, fare di "
                       "nuovo clic su Trova."),
        QPoint(70, 87));
    txtTrova = findField(p, QRect(70, 108, 600, 28));
    btnTrova = button(p, QStringLiteral("btnTrova"), QStringLiteral("Trova"), QRect(684, 107, 140, 30));
    lstRecords = new ResultList(p);
    lstRecords->setGeometry(8, 146, 817, 300);
    QLabel *howToOpen =
        label(p, QStringLiteral("lblRigo03"),
              QStringLiteral("Per richiamare i dati di una scheda, selezionarla con un doppio clic."),
              QPoint(8, 454), 9, false, Look::kCrimson);
    nameAfter(lstRecords, QStringLiteral("Elenco delle schede"));
    lstRecords->setAccessibleDescription(howToOpen->text());
    if (count)
        *count = label(p, QStringLiteral("lblTrovate"), QString(), QPoint(8, 478), 10, true,
                       Look::kDarkCyan);
    btnStampa = button(p, QStringLiteral("btnStampa"), QStringLiteral("Stampa"), QRect(534, 488, 140, 32));
    btnChiudi = button(p, QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), QRect(684, 488, 140, 32));
}

void ListWindow::connectList(DoubleClick doubleClick)
{
    // Enter in the find field moves to the button without pressing it.
    Fields::enterChain({txtTrova}, btnTrova);
    connect(btnTrova, &QPushButton::clicked, this, [this] { guarded([this] { btnTrovaClick(); }); });
    connect(btnChiudi, &QPushButton::clicked, this, [this] { guarded([this] { btnChiudiClick(); }); });
    if (doubleClick == DoubleClick::Opens)
        connect(lstRecords, &ResultList::lineDoubleClicked, this,
                [this] { guarded([this] { lstRecordsDblClick(); }); });
    connect(btnStampa, &QPushButton::clicked, this, [this] { guarded([this] { btnStampaClick(); }); });
}

QStringList ListWindow::printedLines() const
{
    return lstRecords->lines() + closingLines();
}

void ListWindow::btnStampaClick()
{
    // A fresh copy each time, so nothing of an earlier print is carried over.
    report::ReportTemplate list = report::listTemplate();
    report::fillList(list, reportTitle(), lstRecords->lines(), closingLines());
    desktop().printReport(this, report::prepareReport(list));
}

void ListWindow::resetFind()
{
    m_find.reset();
    lstRecords->setCurrentRow(0);
    txtTrova->clear();
}

void ListWindow::closeList()
{
    lstRecords->clear();
    done(QDialog::Accepted);
}

void ListWindow::btnTrovaClick()
{
    if (lstRecords->count() == 0) {
        desktop().plain(kEmptyList);
        return;
    }
    if (lstRecords->currentRow() < 0)
        lstRecords->setCurrentRow(0);
    const int hit = m_find.find(
        lstRecords->count(), [this](int row) { return lstRecords->line(row); }, lstRecords->currentRow(),
        txtTrova->text());
    if (hit >= 0)
        lstRecords->setCurrentRow(hit);
}

void ListWindow::lstRecordsDblClick()
{
    // The line keeps the position of its record: exactly that record is opened, read afresh.
    try {
        const int row = lstRecords->currentRow();
        if (row >= 0)
            openRecord(lstRecords->position(row));
    } catch (const FileError &) {
        // The record cannot be read now: the list closes and the card stays as it was.
    }
    closeList();
}

void ListWindow::openRecord(qint64 position)
{
    if (m_open)
        m_open(position);
}

void ListWindow::btnChiudiClick()
{
    closeList();
}
