#include "report/ReportPreview.h"

#include "app/Desktop.h"
#include "report/ReportPrint.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

namespace report
{

void installPreviewAndPrint()
{
    installReportHandOff(
        {[](QWidget *parent, const PreparedReport &r) {
             ReportPreview window(parent, r);
             window.exec();
         },
         [](QWidget *parent, const PreparedReport &r) { return printWithDialog(parent, r); }});
}

const QList<double> &ReportPreview::zoomFactors()
{
    static const QList<double> factors = {0.25, 0.5, 0.75, 1.0, 1.5, 2.0, 3.0, 4.0};
    return factors;
}

ReportPreview::ReportPreview(QWidget *parent, const PreparedReport &report)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
    , m_report(report)
    , m_printer(new QPrinter(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("frmAnteprimaReport"));
    setWindowTitle(QStringLiteral(" Anteprima di stampa - ") + report.templateName);
    setModal(true);
    resize(1000, 760);
    setupPrinter(*m_printer, m_report);

    barComandi = new QToolBar(this);
    barComandi->setObjectName(QStringLiteral("barComandi"));
    barComandi->setToolButtonStyle(Qt::ToolButtonTextOnly);
    barComandi->setMovable(false);
    actStampa = barComandi->addAction(QStringLiteral("Stampa"));
    actStampa->setObjectName(QStringLiteral("actStampa"));
    actStampa->setToolTip(QStringLiteral("Stampa il documento"));
    barComandi->addSeparator();
    cmbZoom = new QComboBox(barComandi);
    cmbZoom->setObjectName(QStringLiteral("cmbZoom"));
    cmbZoom->setToolTip(QStringLiteral("Zoom"));
    for (double f : zoomFactors())
        cmbZoom->addItem(QStringLiteral("%1 %").arg(qRound(f * 100)), f);
    cmbZoom->addItem(QStringLiteral("Larghezza pagina"), -1.0);
    cmbZoom->addItem(QStringLiteral("Pagina intera"), -2.0);
    cmbZoom->setCurrentIndex(int(zoomFactors().indexOf(1.0)));
    QAction *zoom = barComandi->addWidget(cmbZoom);
    zoom->setObjectName(QStringLiteral("actZoom"));
    barComandi->addSeparator();
    actSchermoIntero = barComandi->addAction(QStringLiteral("Schermo intero"));
    actSchermoIntero->setObjectName(QStringLiteral("actSchermoIntero"));
    actSchermoIntero->setCheckable(true);
    barComandi->addSeparator();
    actChiudi = barComandi->addAction(QStringLiteral("Chiudi"));
    actChiudi->setObjectName(QStringLiteral("actChiudi"));

    preview = new QPrintPreviewWidget(m_printer, this);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
    preview->setZoomFactor(1.0);
    connect(preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) {
        QPainter painter(printer);
        for (int i = 0; i < m_report.pageCount(); ++i) {
            if (i > 0)
                printer->newPage();
            paintPage(painter, m_report, i);
        }
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(barComandi);
    layout->addWidget(preview, 1);

    connect(actStampa, &QAction::triggered, this, [this] { guarded([this] { actStampaClick(); }); });
    connect(actSchermoIntero, &QAction::triggered, this, [this] { actSchermoInteroClick(); });
    connect(actChiudi, &QAction::triggered, this, &QDialog::reject);
    connect(cmbZoom, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { cmbZoomChange(index); });
}

ReportPreview::~ReportPreview()
{
    delete preview;
    preview = nullptr;
    delete m_printer;
}

void ReportPreview::actStampaClick()
{
    printWithDialog(this, m_report, std::max(0, preview->currentPage() - 1));
}

void ReportPreview::actSchermoInteroClick()
{
    if (isFullScreen()) {
        showNormal();
        actSchermoIntero->setChecked(false);
    } else {
        showFullScreen();
        actSchermoIntero->setChecked(true);
    }
}

void ReportPreview::keyPressEvent(QKeyEvent *event)
{
    // Esc steps back one level: out of full screen first, and only then out of the preview.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && isFullScreen()) {
        actSchermoInteroClick();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ReportPreview::cmbZoomChange(int index)
{
    const double f = cmbZoom->itemData(index).toDouble();
    if (f == -1.0) {
        preview->fitToWidth();
    } else if (f == -2.0) {
        preview->fitInView();
    } else {
        preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
        preview->setZoomFactor(f);
    }
}

} // namespace report
