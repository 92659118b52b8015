#pragma once

#include "lists/ListWindow.h"

#include <QList>

class FieldTable;

namespace Lists
{
class LineFormat;
}

// A search over one archive: the filter panel panAvvio with ten partial-text filters, then the
// result panel panContainer for good. The two searches differ only in their record's field
// table (which fields filter, with what captions), their file, their line and their title; a
// picked line's position goes back to the opener.
class SearchWindow : public ListWindow
{
    Q_OBJECT
public:
    // The filters are the rows of `fields` with a filter order, 1 to 10.
    SearchWindow(QWidget *owner, const QString &name, const QString &title, const Lists::LineFormat &format,
                 const FieldTable &fields, const QString &picture);

    QWidget *panAvvio = nullptr;
    QWidget *panContainer = nullptr;
    QList<QLineEdit *> filterFields; // in the order of evaluation, tab and Enter
    QPushButton *btnCerca = nullptr;
    QPushButton *btnAnnulla = nullptr;
    QLabel *lblAttendere = nullptr;
    QLabel *lblConta = nullptr;
    QLabel *lblMemory = nullptr;
    QLabel *lblTrovate = nullptr;

    void btnCercaClick();

    // Which editor opened the search; only a search opened by an editor hands a card back.
    // lblMemory shows it as its word ("collection", "anagrafica").
    enum class Caller { None, SongEditor, SingerEditor };
    void setCaller(Caller caller);
    Caller caller() const { return m_caller; }

protected:
    // The file searched, read when the search runs.
    virtual QString archivePath() const = 0;
    void showEvent(QShowEvent *event) override;
    void closeList() override;

private:
    const Lists::LineFormat &m_format;
    QList<int> m_fieldOf;
    Caller m_caller = Caller::None;
};
