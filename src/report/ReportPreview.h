#pragma once

#include "report/ReportLayout.h"

#include <QDialog>

class QAction;
class QComboBox;
class QPrintPreviewWidget;
class QPrinter;
class QToolBar;

namespace report
{

// The preview window of a laid-out report: the pages as they will print, with exactly four
// commands (print, zoom, full screen, close). Nothing on the page can be changed here.
class ReportPreview : public QDialog
{
    Q_OBJECT
public:
    ReportPreview(QWidget *parent, const PreparedReport &report);
    ~ReportPreview() override;

    QToolBar *barComandi = nullptr;
    QAction *actStampa = nullptr, *actSchermoIntero = nullptr, *actChiudi = nullptr;
    QComboBox *cmbZoom = nullptr;
    QPrintPreviewWidget *preview = nullptr;

    // The zoom choices: factors, then the two fitting modes.
    static const QList<double> &zoomFactors();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void actStampaClick();
    void actSchermoInteroClick();
    void cmbZoomChange(int index);

    PreparedReport m_report;
    QPrinter *m_printer;
};

// Makes the real desktop hand laid-out reports to this window and to the print dialog. Called
// once by the program at start-up; until then previews and prints report a general error.
void installPreviewAndPrint();

} // namespace report
