#pragma once

#include "lists/ListWindow.h"

#include <QList>

namespace Lists
{
class LineFormat;
}

// A search over one archive: the filter panel panAvvio with ten partial-text filters, then the
// result panel panContainer for good. The two searches differ only in their table of filters,
// their file, their line and what opening a line does.
class SearchWindow : public ListWindow
{
    Q_OBJECT
public:
    struct Filter {
        const char *name;      // the filter field
        const char *caption;   // UTF-8
        const char *highlight; // its frame rectangle
        int field;             // schema index
    };

    SearchWindow(QWidget *owner, const QString &name, const QString &title, const Lists::LineFormat &format,
                 const Filter (&filters)[10], const QString &picture);

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

protected:
    // The file searched, read when the search runs.
    virtual QString archivePath() const = 0;
    void showEvent(QShowEvent *event) override;
    void closeList() override;

private:
    const Lists::LineFormat &m_format;
    QList<int> m_fieldOf;
};
