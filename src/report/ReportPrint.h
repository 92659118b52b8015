#pragma once

class QPrintDialog;
class QPrinter;
class QWidget;

namespace report
{

class PreparedReport;

// Sets a printer to the report's paper and orientation, painting from the paper's corner.
void setupPrinter(QPrinter &printer, const PreparedReport &report);

// The choices the print dialog offers for a report: page range (all, current page or
// numbers), copies and collation, and printing to a file.
void setupPrintDialog(QPrintDialog &dialog, const PreparedReport &report);

// Prints the pages the printer's range selects, with its copies and collation; `currentPage`
// (0-based) is the page meant by "current page". Throws ReportError when the printer fails.
void printPages(QPrinter &printer, const PreparedReport &report, int currentPage);

// Shows the print dialog and prints when the user confirms; false when he cancelled.
bool printWithDialog(QWidget *parent, const PreparedReport &report, int currentPage = 0);

} // namespace report
