#include "report/ReportPrint.h"

#include "report/ReportLayout.h"

#include <QDir>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace report
{

void setupPrinter(QPrinter &printer, const PreparedReport &report)
{
    printer.setFullPage(true);
    printer.setPageLayout(report.pageLayout());
    printer.setDocName(report.templateName);
    printer.setCreator(QStringLiteral("Cantorium"));
}

void setupPrintDialog(QPrintDialog &dialog, const PreparedReport &report)
{
    dialog.setWindowTitle(QStringLiteral("Stampa"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCurrentPage | QAbstractPrintDialog::PrintCollateCopies);
    dialog.setMinMax(1, report.pageCount());
    dialog.setFromTo(0, 0);
}

void printPages(QPrinter &printer, const PreparedReport &report, int currentPage)
{
    QList<int> pages;
    const QPageRanges ranges = printer.pageRanges();
    for (int i = 0; i < report.pageCount(); ++i) {
        switch (printer.printRange()) {
        case QPrinter::CurrentPage:
            if (i == currentPage)
                pages << i;
            break;
        case QPrinter::PageRange:
            if (ranges.isEmpty() || ranges.contains(i + 1))
                pages << i;
            break;
        default:
            pages << i;
        }
    }
    // Printers that cannot make copies themselves (a PDF file) get each copy painted.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    QList<int> sequence;
    if (printer.collateCopies()) {
        for (int c = 0; c < copies; ++c)
            sequence << pages;
    } else {
        for (int p : pages)
            for (int c = 0; c < copies; ++c)
                sequence << p;
    }
    if (sequence.isEmpty())
        return;
    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError("Impossibile avviare la stampa sulla stampante scelta");
    for (int i = 0; i < sequence.size(); ++i) {
        if (i > 0 && !printer.newPage())
            throw ReportError("La stampante ha rifiutato una nuova pagina");
        paintPage(painter, report, sequence.at(i));
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw ReportError("La stampa non è andata a buon fine");
}

bool printWithDialog(QWidget *parent, const PreparedReport &report, int currentPage)
{
    QPrinter printer(QPrinter::HighResolution);
    setupPrinter(printer, report);
    // Without any printer the dialog can only print to a PDF file: propose one in the home folder.
    if (QPrinterInfo::availablePrinters().isEmpty())
        printer.setOutputFileName(QDir::home().filePath(report.templateName + QStringLiteral(".pdf")));
    QPrintDialog dialog(&printer, parent);
    setupPrintDialog(dialog, report);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // The dialog may have changed the paper; the report's layout is fixed.
    setupPrinter(printer, report);
    printPages(printer, report, currentPage);
    return true;
}

} // namespace report
