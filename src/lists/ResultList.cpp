#include "lists/ResultList.h"

#include "app/Look.h"

#include <QFont>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

class ResultList::Model : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : int(entries.size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= int(entries.size()))
            return QVariant();
        const Lists::Entry &e = entries.at(size_t(index.row()));
        switch (role) {
        case Qt::DisplayRole:
            return e.line;
        case PositionRole:
            return e.position;
        case Qt::ForegroundRole:
            return QColor(Qt::black);
        default:
            return QVariant();
        }
    }
    void reset(Lists::Entries replacement)
    {
        beginResetModel();
        entries = std::move(replacement);
        endResetModel();
    }

    Lists::Entries entries;
};

namespace
{
// Every item is as wide as the longest line can need, so that whole lines scroll into view.
class WideItems : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QSize(1600, QStyledItemDelegate::sizeHint(option, index).height());
    }
};
} // namespace

ResultList::ResultList(QWidget *parent)
    : QListView(parent)
    , m_model(new Model(this))
{
    setObjectName(QStringLiteral("lstRecords"));
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setItemDelegate(new WideItems(this));
    setFont(Look::font(QStringLiteral("Courier New"), 12));
    QPalette p = palette();
    p.setColor(QPalette::Text, Qt::black);
    setPalette(p);
}

void ResultList::setEntries(Lists::Entries entries)
{
    m_model->reset(std::move(entries));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void ResultList::clear()
{
    m_model->reset({});
}

int ResultList::count() const
{
    return int(m_model->entries.size());
}

QString ResultList::line(int row) const
{
    return m_model->entries.at(size_t(row)).line;
}

qint64 ResultList::position(int row) const
{
    return m_model->entries.at(size_t(row)).position;
}

QStringList ResultList::lines() const
{
    QStringList out;
    out.reserve(count());
    for (const Lists::Entry &e : m_model->entries)
        out << e.line;
    return out;
}

int ResultList::currentRow() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ResultList::setCurrentRow(int row)
{
    if (row < 0 || row >= count()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = m_model->index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void ResultList::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit lineDoubleClicked();
}

void ResultList::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        event->accept();
        emit lineDoubleClicked();
        return;
    }
    QListView::keyPressEvent(event);
}
