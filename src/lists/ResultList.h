#pragma once

#include "lists/ListEntries.h"

#include <QAbstractListModel>
#include <QListView>

// The result list of the list windows (lstRecords): one line per record in Courier New,
// each line remembering the position of its record.
class ResultList : public QListView
{
    Q_OBJECT
public:
    enum Role { PositionRole = Qt::UserRole + 1 };

    explicit ResultList(QWidget *parent);

    // Replaces the lines in one batch, in the order given, and sets the filled look: items
    // 1600 pixels wide and both scroll bars shown.
    void setEntries(Lists::Entries entries);
    void clear();

    int count() const;
    QString line(int row) const;
    qint64 position(int row) const;
    QStringList lines() const;

    int currentRow() const; // -1 when no line is selected
    void setCurrentRow(int row);

signals:
    // A double-click anywhere on the list, or Enter on a selected line: the window opens the
    // selected line.
    void lineDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    class Model;
    Model *m_model;
};
