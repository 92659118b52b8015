#include "RecordingDesktop.h"
#include "app/Desktop.h"
#include "report/ListReport.h"
#include "report/ReportLayout.h"
#include "report/ReportPreview.h"
#include "report/ReportPrint.h"
#include "report/ReportTemplates.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <functional>

using namespace report;

namespace
{

PreparedReport listOf(int lines)
{
    ReportTemplate t = listTemplate();
    QStringList entries;
    for (int i = 0; i < lines; ++i)
        entries << QStringLiteral("Riga %1").arg(i + 1);
    fillList(t, QStringLiteral("Riepilogo canzoni in collection"), entries);
    return prepareReport(t, QDate(2024, 3, 7));
}

// Runs `inspect` on the modal window that the next call opens, then lets it close.
void whenModal(std::function<void(QWidget *)> inspect)
{
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [inspect, tries, poll] {
        QWidget *w = QApplication::activeModalWidget();
        if (!w && ++*tries < 200) {
            QTimer::singleShot(20, *poll);
            return;
        }
        inspect(w);
        if (w && w->isVisible())
            w->close();
    };
    QTimer::singleShot(0, *poll);
}

// Texts of the preview's commands in tool bar order.
QStringList commandsOf(const ReportPreview &w)
{
    QStringList out;
    for (QAction *a : w.barComandi->actions()) {
        if (a->isSeparator())
            continue;
        out << (a->objectName() == QLatin1String("actZoom") ? QStringLiteral("Zoom") : a->text());
    }
    return out;
}

} // namespace

class TestReportSeam : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void previewWindow_data();
    void previewWindow();
    void previewZoomAndFullScreen();
    void previewEscapeLeavesFullScreenFirst();
    void previewPrintsThroughTheDialog();
    void realDesktopPreview();
    void realDesktopPrintCancelled();
    void realDesktopPrintToFile();
    void printPageRanges_data();
    void printPageRanges();
    void recordingDouble();
};

void TestReportSeam::initTestCase()
{
    // The real desktop's preview and print, as the program installs them at start-up.
    installPreviewAndPrint();
}

void TestReportSeam::previewWindow_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("one line") << 1;
    QTest::newRow("two hundred lines") << 200;
}

void TestReportSeam::previewWindow()
{
    QFETCH(int, lines);
    const PreparedReport r = listOf(lines);
    ReportPreview w(nullptr, r);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.preview->updatePreview();
    QCOMPARE(w.preview->pageCount(), r.pageCount());
    QCOMPARE(w.preview->zoomFactor(), 1.0);
    QCOMPARE(w.preview->zoomMode(), QPrintPreviewWidget::CustomZoom);
    QCOMPARE(w.cmbZoom->currentText(), QStringLiteral("100 %"));
    QCOMPARE(commandsOf(w), QStringList({QStringLiteral("Stampa"), QStringLiteral("Zoom"),
                                         QStringLiteral("Schermo intero"), QStringLiteral("Chiudi")}));
    QVERIFY(w.isModal());
    // The preview's printer keeps the report's paper.
    QCOMPARE(w.preview->orientation(), QPageLayout::Landscape);
    w.actChiudi->trigger();
    QVERIFY(!w.isVisible());
}

void TestReportSeam::previewZoomAndFullScreen()
{
    ReportPreview w(nullptr, listOf(3));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.cmbZoom->setCurrentText(QStringLiteral("200 %"));
    QCOMPARE(w.preview->zoomFactor(), 2.0);
    w.cmbZoom->setCurrentText(QStringLiteral("Pagina intera"));
    QCOMPARE(w.preview->zoomMode(), QPrintPreviewWidget::FitInView);
    w.actSchermoIntero->trigger();
    QVERIFY(w.isFullScreen());
    w.actSchermoIntero->trigger();
    QVERIFY(!w.isFullScreen());
}

void TestReportSeam::previewEscapeLeavesFullScreenFirst()
{
    ReportPreview w(nullptr, listOf(3));
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.actSchermoIntero->trigger();
    QVERIFY(w.isFullScreen());
    auto escape = [&w] { QTest::keyClick(w.focusWidget() ? w.focusWidget() : &w, Qt::Key_Escape); };
    escape();
    QVERIFY(!w.isFullScreen());
    QVERIFY(!w.actSchermoIntero->isChecked());
    QVERIFY(w.isVisible());
    escape();
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Rejected));
}

void TestReportSeam::previewPrintsThroughTheDialog()
{
    const PreparedReport r = listOf(200);
    ReportPreview w(nullptr, r);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    int maxPage = 0;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget())) {
            maxPage = dialog->maxPage();
            dialog->reject();
        }
    });
    poll.start(20);
    w.actStampa->trigger();
    poll.stop();
    QCOMPARE(maxPage, r.pageCount());
    QVERIFY(w.isVisible()); // cancelling the dialog leaves the preview open
}

void TestReportSeam::realDesktopPreview()
{
    const PreparedReport r = listOf(200);
    int pages = -1;
    QString name;
    whenModal([&](QWidget *w) {
        auto *preview = qobject_cast<ReportPreview *>(w);
        if (!preview)
            return;
        name = preview->objectName();
        preview->preview->updatePreview();
        pages = preview->preview->pageCount();
    });
    desktop().previewReport(nullptr, r);
    QCOMPARE(name, QStringLiteral("frmAnteprimaReport"));
    QCOMPARE(pages, r.pageCount());
}

void TestReportSeam::realDesktopPrintCancelled()
{
    const PreparedReport r = listOf(200);
    bool seen = false;
    whenModal([&](QWidget *w) {
        auto *dialog = qobject_cast<QPrintDialog *>(w);
        QVERIFY(dialog);
        seen = true;
        QVERIFY(dialog->testOption(QAbstractPrintDialog::PrintToFile));
        QVERIFY(dialog->testOption(QAbstractPrintDialog::PrintPageRange));
        QVERIFY(dialog->testOption(QAbstractPrintDialog::PrintCurrentPage));
        QVERIFY(dialog->testOption(QAbstractPrintDialog::PrintCollateCopies));
        QCOMPARE(dialog->minPage(), 1);
        QCOMPARE(dialog->maxPage(), r.pageCount());
        QCOMPARE(dialog->printer()->pageLayout().orientation(), QPageLayout::Landscape);
        dialog->reject();
    });
    QVERIFY(!desktop().printReport(nullptr, r));
    QVERIFY(seen);
}

void TestReportSeam::realDesktopPrintToFile()
{
    // With no printer installed the dialog prints to a PDF file, whose name the user types.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("scheda.pdf"));
    const PreparedReport r = listOf(200);
    whenModal([&](QWidget *w) {
        auto *dialog = qobject_cast<QPrintDialog *>(w);
        QVERIFY(dialog);
        auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
        if (!file || !file->isEnabled())
            QSKIP("this system offers printers, not the PDF file choice");
        file->setText(path);
        dialog->accept();
    });
    QVERIFY(desktop().printReport(nullptr, r));
    QFile pdf(path);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray data = pdf.readAll();
    QVERIFY(data.startsWith("%PDF"));
    QCOMPARE(int(QString::fromLatin1(data).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")))),
             r.pageCount());
}

void TestReportSeam::printPageRanges_data()
{
    QTest::addColumn<int>("range"); // QPrinter::PrintRange
    QTest::addColumn<QString>("pages");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<int>("expected");
    QTest::newRow("all") << int(QPrinter::AllPages) << "" << 1 << true << 4;
    QTest::newRow("current page") << int(QPrinter::CurrentPage) << "" << 1 << true << 1;
    QTest::newRow("numbers 2-3") << int(QPrinter::PageRange) << "2-3" << 1 << true << 2;
    QTest::newRow("two collated copies of page 1") << int(QPrinter::PageRange) << "1" << 2 << true << 2;
    QTest::newRow("two copies of all, uncollated") << int(QPrinter::AllPages) << "" << 2 << false << 8;
}

void TestReportSeam::printPageRanges()
{
    QFETCH(int, range);
    QFETCH(QString, pages);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(int, expected);
    const PreparedReport r = listOf(200);
    QCOMPARE(r.pageCount(), 4);
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("out.pdf")));
    setupPrinter(printer, r);
    printer.setPrintRange(QPrinter::PrintRange(range));
    if (!pages.isEmpty())
        printer.setPageRanges(QPageRanges::fromString(pages));
    printer.setCopyCount(copies);
    printer.setCollateCopies(collate);
    printPages(printer, r, 1);
    QFile pdf(dir.filePath(QStringLiteral("out.pdf")));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QCOMPARE(int(QString::fromLatin1(pdf.readAll())
                     .count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")))),
             expected);
}

void TestReportSeam::recordingDouble()
{
    RecordingDesktop d;
    ReportTemplate t = singerCardTemplate();
    QImage photo(30, 20, QImage::Format_RGB32);
    photo.fill(Qt::red);
    t.setPicture(QStringLiteral("imgLogo"), photo);
    t.setText(QStringLiteral("txtNome"), QStringLiteral("Mina"));
    const PreparedReport r = prepareReport(t);
    desktop().previewReport(nullptr, r);
    d.printAnswer = false;
    QVERIFY(!desktop().printReport(nullptr, r));
    QCOMPARE(d.reports.size(), 2);
    QVERIFY(d.reports.at(0).preview);
    QVERIFY(!d.reports.at(1).preview);
    QCOMPARE(d.reports.at(0).templateName, QStringLiteral("Scheda cantante"));
    QCOMPARE(d.reports.at(0).objects, QStringList({QStringLiteral("imgLogo"), QStringLiteral("txtNome")}));
    QCOMPARE(d.reports.at(0).texts, QStringList({QString(), QStringLiteral("Mina")}));
    QCOMPARE(d.reports.at(0).picture, QSize(30, 20));
    d.reportFailure = QStringLiteral("guasto");
    QVERIFY_THROWS_EXCEPTION(ReportError, desktop().previewReport(nullptr, r));
    VERIFY_DESKTOP_CLEAN(d);
}

QTEST_MAIN(TestReportSeam)
#include "tst_reportseam.moc"
