#include "stats/FrmStatistiche.h"

#include "app/Widgets.h"

#include "app/ArchiveMessages.h"
#include "app/Desktop.h"
#include "app/FrmGuida.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "core/AtomicFile.h"
#include "core/RecordFile.h"
#include "lists/ListEntries.h"
#include "lists/ResultLine.h"
#include "lists/ResultList.h"
#include "records/SingerCard.h"
#include "records/SongCard.h"
#include "report/ReportLayout.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QImageWriter>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSvgGenerator>
#include <QTableWidget>
#include <QValueAxis>

#include <cmath>
#include <iterator>

const QString FrmStatistiche::kSaveFailed =
    QStringLiteral("Attenzione: non è stato possibile salvare il grafico.\n\r\n\rAccertarsi che la "
                   "cartella scelta esista e che sul disco ci sia spazio sufficiente.");
const QString FrmStatistiche::kWrongFormat =
    QStringLiteral("Attenzione: il grafico si può salvare soltanto come immagine PNG, disegno SVG o "
                   "documento PDF.");

const QString FrmStatistiche::kHelpTitle = QStringLiteral("Statistiche.");

QString FrmStatistiche::helpText()
{
    return FrmGuida::joinParagraphs({
        QStringLiteral(
            "La finestra Statistiche mostra in grafici che cosa contiene l'archivio. Per una "
            "collection si contano le canzoni per genere musicale, per decennio, per cantante, "
            "per nazione e quelle segnalate; per l'archivio cantanti si contano i cantanti per "
            "cittadinanza, per genere musicale, per decennio di nascita e quelli con e senza foto."),
        QStringLiteral(
            "Il grafico si sceglie dall'elenco Grafico e si vede a Barre o a Torta. La tabella "
            "accanto riporta il numero esatto di schede di ogni gruppo e la percentuale sul totale. "
            "I testi si confrontano senza spazi iniziali e finali e senza distinguere maiuscole e "
            "minuscole; ogni gruppo prende il nome scritto nel modo più frequente. Le schede senza "
            "il dato formano un gruppo a parte."),
        QStringLiteral("Il decennio si ricava dal primo numero di quattro cifre del campo Anno o della data "
                       "di nascita. Per genere, nazione e cittadinanza si mostrano i 15 gruppi più numerosi, "
                       "per cantante i 20 più numerosi; le altre schede formano il gruppo Altri. I generi "
                       "musicali di un cantante si possono separare con virgola, punto e virgola o barra: un "
                       "cantante con più generi viene contato in ciascuno."),
        QStringLiteral("Con un clic su una barra, su uno spicchio o su una riga della tabella si elencano in "
                       "basso le schede del gruppo; con un doppio clic su una riga, o con Apri scheda, la "
                       "scheda scelta compare nella schermata di lavoro."),
        QStringLiteral(
            "Salva grafico salva il grafico come immagine PNG, disegno SVG o documento PDF, secondo "
            "il tipo di file scelto; Stampa grafico lo stampa su un foglio A4 orizzontale."),
    });
}

namespace
{

const QSize kClient(1000, 690);


QString percent(qint64 part, qint64 whole)
{
    if (whole <= 0)
        return QString();
    return QLocale(QLocale::Italian).toString(100.0 * double(part) / double(whole), 'f', 1) +
           QStringLiteral(" %");
}

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &place, qreal points,
              bool bold = false)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(place);
    l->setFont(Look::uiFont(points, bold));
    l->setTextFormat(Qt::PlainText);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, Look::kInk);
    l->setPalette(p);
    return l;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text, const QRect &place)
{
    return pushButton(parent, QLatin1String(name), text, place, Look::uiFont(9));
}

} // namespace

FrmStatistiche::FrmStatistiche(QWidget *owner, const StatsSource &source, Stats::Summary summary)
    : FixedDialog(owner, QStringLiteral("frmStatistiche"), QStringLiteral(" Statistiche"), kClient,
                  Look::kCardArea, Qt::white, kClient)
    , m_source(source)
    , m_summary(std::move(summary))
{
    QWidget *p = panel();
    QLabel *lblGrafico = label(p, "lblGrafico", QStringLiteral("Grafico:"), QRect(16, 18, 70, 24), 10, true);
    cboGrafico = new QComboBox(p);
    cboGrafico->setObjectName(QStringLiteral("cboGrafico"));
    nameAfter(cboGrafico, lblGrafico->text(), lblGrafico);
    nameAfter(cboGrafico->view(), QStringLiteral("Grafici"));
    cboGrafico->setGeometry(88, 16, 330, 28);
    cboGrafico->setFont(Look::uiFont(10));
    for (const Stats::Chart &c : m_summary.charts)
        cboGrafico->addItem(c.title);

    optBarre = new QRadioButton(QStringLiteral("Barre"), p);
    optBarre->setObjectName(QStringLiteral("optBarre"));
    optBarre->setGeometry(436, 18, 80, 24);
    optTorta = new QRadioButton(QStringLiteral("Torta"), p);
    optTorta->setObjectName(QStringLiteral("optTorta"));
    optTorta->setGeometry(516, 18, 80, 24);
    for (QRadioButton *o : {optBarre, optTorta}) {
        o->setFont(Look::uiFont(10, true));
        QPalette pal = o->palette();
        pal.setColor(QPalette::WindowText, Look::kInk);
        o->setPalette(pal);
    }
    optBarre->setChecked(true);

    btnSalva = button(p, "btnSalva", QStringLiteral("Salva grafico..."), QRect(700, 16, 138, 28));
    btnStampa = button(p, "btnStampa", QStringLiteral("Stampa grafico..."), QRect(846, 16, 138, 28));

    chtGrafico = new QChartView(p);
    nameAfter(chtGrafico, QStringLiteral("Grafico"));
    chtGrafico->setObjectName(QStringLiteral("chtGrafico"));
    chtGrafico->setGeometry(16, 54, 640, 456);
    chtGrafico->setRenderHint(QPainter::Antialiasing);

    grdConteggi = new QTableWidget(0, 3, p);
    nameAfter(grdConteggi, QStringLiteral("Conteggi"));
    grdConteggi->setObjectName(QStringLiteral("grdConteggi"));
    grdConteggi->setGeometry(664, 54, 320, 456);
    grdConteggi->setHorizontalHeaderLabels(
        {QStringLiteral("Gruppo"), QStringLiteral("Schede"), QStringLiteral("%")});
    grdConteggi->setFont(Look::uiFont(9));
    grdConteggi->horizontalHeader()->setFont(Look::uiFont(9, true));
    grdConteggi->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    grdConteggi->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Fixed);
    grdConteggi->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Fixed);
    grdConteggi->setColumnWidth(1, 62);
    grdConteggi->setColumnWidth(2, 62);
    grdConteggi->verticalHeader()->hide();
    grdConteggi->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdConteggi->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdConteggi->setSelectionMode(QAbstractItemView::SingleSelection);
    grdConteggi->setWordWrap(false);

    const bool songs = source.kind == StatsSource::Kind::Songs;
    lblTotale = label(p, "lblTotale",
                      (songs ? QStringLiteral("Canzoni nella collection: %1")
                             : QStringLiteral("Cantanti nell'archivio: %1"))
                          .arg(m_summary.cards),
                      QRect(16, 516, 400, 20), 9, true);
    lblNota = label(p, "lblNota", QString(), QRect(420, 516, 564, 20), 9);
    lblNota->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblSchede = label(p, "lblSchede",
                      QStringLiteral("Fare clic su una barra, su uno spicchio o su una riga della tabella "
                                     "per elencarne le schede."),
                      QRect(16, 538, 968, 20), 9);
    lstRecords = new ResultList(p);
    nameAfter(lstRecords, QStringLiteral("Schede del gruppo"));
    lstRecords->setObjectName(QStringLiteral("lstRecords"));
    lstRecords->setGeometry(16, 560, 968, 82);
    btnGuida = button(p, "btnGuida", QStringLiteral("Guida"), QRect(16, 650, 108, 28));
    btnApri = button(p, "btnApri", QStringLiteral("Apri scheda"), QRect(752, 650, 116, 28));
    btnChiudi = button(p, "btnChiudi", QStringLiteral("Chiudi"), QRect(876, 650, 108, 28));
    btnApri->setEnabled(false);

    const bool any = m_summary.cards > 0;
    btnSalva->setEnabled(any);
    btnStampa->setEnabled(any);

    connect(cboGrafico, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { guarded([&] { showChart(index); }); });
    connect(optBarre, &QRadioButton::toggled, this, [this] { guarded([&] { buildChart(); }); });
    connect(grdConteggi, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0)
            guarded([&] { showGroup(row); });
    });
    connect(lstRecords, &ResultList::lineDoubleClicked, this, [this] { guarded([&] { btnApriClick(); }); });
    connect(btnApri, &QPushButton::clicked, this, [this] { guarded([&] { btnApriClick(); }); });
    connect(btnSalva, &QPushButton::clicked, this, [this] { guarded([&] { btnSalvaClick(); }); });
    connect(btnStampa, &QPushButton::clicked, this, [this] { guarded([&] { btnStampaClick(); }); });
    connect(btnGuida, &QPushButton::clicked, this,
            [this] { guarded([&] { FrmGuida::showTopic(this, kHelpTitle, helpText()); }); });
    connect(btnChiudi, &QPushButton::clicked, this, [this] { reject(); });

    showChart(0);
}

qint64 FrmStatistiche::run(QWidget *owner, const StatsSource &source)
{
    Stats::Summary summary;
    try {
        summary = source.kind == StatsSource::Kind::Songs ? Stats::songs(source.path)
                                                          : Stats::singers(source.path, source.hasPhoto);
    } catch (const FileError &) {
        desktop().error(ArchiveMessages::kNoAccess);
        return 0;
    }
    if (summary.cards == 0) {
        desktop().information(ArchiveMessages::kEmpty);
        return 0;
    }
    FrmStatistiche window(owner, source, std::move(summary));
    desktop().runModal(&window);
    return window.pickedPosition();
}

const Stats::Chart &FrmStatistiche::current() const
{
    return m_summary.charts.at(m_chart);
}

void FrmStatistiche::showChart(int index)
{
    if (index < 0 || index >= m_summary.charts.size())
        return;
    m_chart = index;
    const Stats::Chart &c = current();
    {
        const QSignalBlocker block(grdConteggi);
        grdConteggi->clearContents();
        grdConteggi->setRowCount(int(c.groups.size()));
        for (int row = 0; row < c.groups.size(); ++row) {
            const Stats::Group &g = c.groups.at(row);
            auto *name = new QTableWidgetItem(g.label);
            name->setToolTip(g.label);
            auto *count = new QTableWidgetItem(QString::number(g.count()));
            count->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            auto *share = new QTableWidgetItem(percent(g.count(), m_summary.cards));
            share->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdConteggi->setItem(row, 0, name);
            grdConteggi->setItem(row, 1, count);
            grdConteggi->setItem(row, 2, share);
        }
        grdConteggi->setCurrentCell(-1, -1);
    }
    lblNota->setText(c.multiple ? QStringLiteral("Un cantante con più generi è contato in ciascuno.")
                                : QString());
    lstRecords->clear();
    btnApri->setEnabled(false);
    lblSchede->setText(QStringLiteral("Fare clic su una barra, su uno spicchio o su una riga della tabella "
                                      "per elencarne le schede."));
    buildChart();
}

void FrmStatistiche::buildChart()
{
    const Stats::Chart &c = current();
    // A fresh chart each time: axes removed from a shown chart leave their names and ticks
    // painted on the view.
    auto *chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    QChart *previous = chtGrafico->chart();
    chtGrafico->setChart(chart);
    delete previous;
    chart->setTitle(c.title);
    chart->setTitleFont(Look::uiFont(11, true));
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setTitleBrush(Look::kInk);
    // A long list of names needs a smaller letter to give each its own line.
    const QFont labels = Look::uiFont(c.groups.size() > 14 ? 8 : 9);

    if (optBarre->isChecked()) {
        chart->legend()->hide();
        // Horizontal bars keep long names readable; the first group is drawn at the top.
        auto *set = new QBarSet(QStringLiteral("Schede"));
        set->setColor(Look::kChart[0]);
        set->setBorderColor(Look::kChart[0]);
        set->setLabelColor(Qt::black);
        set->setLabelFont(labels);
        QStringList categories;
        qint64 most = 0;
        for (qsizetype i = c.groups.size() - 1; i >= 0; --i) {
            *set << double(c.groups.at(i).count());
            // The axis drops a repeated name: a name cut short keeps its own category.
            QString name = c.groups.at(i).label;
            if (name.size() > 28)
                name = name.left(27) + QChar(0x2026);
            while (categories.contains(name))
                name += QLatin1Char(' ');
            categories.append(name);
            most = qMax(most, c.groups.at(i).count());
        }
        auto *series = new QHorizontalBarSeries;
        series->append(set);
        series->setLabelsVisible(true);
        series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
        series->setLabelsFormat(QStringLiteral("@value"));
        series->setBarWidth(0.7);
        chart->addSeries(series);
        auto *names = new QBarCategoryAxis;
        names->append(categories);
        names->setLabelsFont(labels);
        // Names are already cut to a length that fits; left to itself the axis cuts every name of
        // a long list down to "...".
        names->setTruncateLabels(false);
        chart->addAxis(names, Qt::AlignLeft);
        series->attachAxis(names);
        auto *counts = new QValueAxis;
        counts->setLabelFormat(QStringLiteral("%d"));
        counts->setLabelsFont(labels);
        // Room after the longest bar for its count; whole-number ticks.
        // Ticks at 1, 2 or 5 times a power of ten, at most six of them, with room after the
        // longest bar for its count.
        double step = 1;
        while (double(most) * 1.12 / step > 6)
            step *= (QString::number(step).startsWith(QLatin1Char('2')) ? 2.5 : 2);
        const qint64 top = qint64(std::ceil(double(most) * 1.12 / step) * step);
        counts->setRange(0, double(top));
        counts->setTickType(QValueAxis::TicksDynamic);
        counts->setTickAnchor(0);
        counts->setTickInterval(step);
        chart->addAxis(counts, Qt::AlignBottom);
        series->attachAxis(counts);
        connect(set, &QBarSet::clicked, this,
                [this, n = int(c.groups.size())](int index) { guarded([&] { showGroup(n - 1 - index); }); });
    } else {
        auto *series = new QPieSeries;
        series->setPieSize(0.78);
        series->setHorizontalPosition(0.36);
        qint64 whole = 0;
        for (const Stats::Group &g : c.groups)
            whole += g.count();
        int row = 0;
        QStringList names;
        for (const Stats::Group &g : c.groups) {
            if (g.count() == 0) {
                ++row;
                continue;
            }
            QString name = g.label;
            if (name.size() > 24)
                name = name.left(23) + QChar(0x2026);
            // A card counted in several groups makes a share of the whole meaningless: the
            // slice then shows its count.
            QPieSlice *slice = series->append(
                c.multiple ? QString::number(g.count()) : percent(g.count(), whole), double(g.count()));
            names << QStringLiteral("%1 (%2)").arg(name).arg(g.count());
            slice->setColor(Look::kChart[row % int(std::size(Look::kChart))]);
            slice->setBorderColor(Qt::white);
            // The legend names every slice with its count; a slice wide enough shows its share
            // inside, where no name can run out of the picture.
            QFont share = labels;
            share.setBold(true);
            slice->setLabelFont(share);
            slice->setLabelColor(Qt::white);
            slice->setLabelPosition(QPieSlice::LabelInsideNormal);
            slice->setLabelVisible(double(g.count()) / double(whole) >= 0.05);

            connect(slice, &QPieSlice::clicked, this, [this, row] { guarded([&] { showGroup(row); }); });
            ++row;
        }
        chart->addSeries(series);
        chart->legend()->show();
        chart->legend()->setAlignment(Qt::AlignRight);
        chart->legend()->setFont(labels);
        const QList<QLegendMarker *> markers = chart->legend()->markers(series);
        for (qsizetype i = 0; i < markers.size() && i < names.size(); ++i)
            markers.at(i)->setLabel(names.at(i));
    }
}

void FrmStatistiche::showGroup(int row)
{
    const Stats::Chart &c = current();
    if (row < 0 || row >= c.groups.size())
        return;
    const Stats::Group &g = c.groups.at(row);
    {
        const QSignalBlocker block(grdConteggi);
        grdConteggi->setCurrentCell(row, 0);
    }
    const bool songs = m_source.kind == StatsSource::Kind::Songs;
    const Lists::LineFormat &format = songs ? Lists::songLine() : Lists::singerLine();
    Lists::Entries entries;
    entries.reserve(g.positions.size());
    try {
        Stats::readCards(m_source.path, songs ? SongCard::kSize : SingerCard::kSize, g.positions,
                         [&](qint64 position, const char *record) {
                             entries.push_back({format.line(record), position});
                         });
    } catch (const FileError &) {
        desktop().error(ArchiveMessages::kNoAccess);
        return;
    }
    Lists::sortEntries(entries);
    lstRecords->setEntries(std::move(entries));
    if (lstRecords->count() > 0)
        lstRecords->setCurrentRow(0);
    btnApri->setEnabled(lstRecords->count() > 0);
    lblSchede->setText(
        QStringLiteral("%1 «%2»: %3 %4")
            .arg(songs ? QStringLiteral("Canzoni del gruppo") : QStringLiteral("Cantanti del gruppo"),
                 g.label)
            .arg(g.count())
            .arg(g.count() == 1 ? QStringLiteral("scheda") : QStringLiteral("schede")));
}

void FrmStatistiche::btnApriClick()
{
    const int row = lstRecords->currentRow();
    if (row < 0)
        return;
    m_picked = lstRecords->position(row);
    accept();
}

void FrmStatistiche::paintChart(QPainter &painter, const QRectF &target)
{
    chtGrafico->render(&painter, target, chtGrafico->viewport()->rect(), Qt::KeepAspectRatio);
}

bool FrmStatistiche::saveChart(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg") && suffix != QLatin1String("pdf")) {
        desktop().warning(kWrongFormat);
        return false;
    }
    const QSize size = chtGrafico->viewport()->size();
    AtomicFile file(path);
    bool written = file.open();
    if (written) {
        if (suffix == QLatin1String("png")) {
            // Twice the screen's pixels, so that the picture stays sharp when printed or enlarged.
            QImage picture(size * 2, QImage::Format_ARGB32_Premultiplied);
            picture.setDevicePixelRatio(2);
            picture.fill(Qt::white);
            {
                QPainter painter(&picture);
                painter.setRenderHint(QPainter::Antialiasing);
                paintChart(painter, QRectF(QPointF(0, 0), QSizeF(size)));
            }
            written = picture.save(&file, "PNG");
        } else if (suffix == QLatin1String("svg")) {
            QSvgGenerator svg;
            svg.setOutputDevice(&file);
            svg.setSize(size);
            svg.setViewBox(QRect(QPoint(0, 0), size));
            svg.setTitle(current().title);
            svg.setDescription(QStringLiteral("Cantorium"));
            QPainter painter;
            written = painter.begin(&svg);
            if (written) {
                paintChart(painter, QRectF(QPointF(0, 0), QSizeF(size)));
                written = painter.end();
            }
        } else {
            QPdfWriter pdf(&file);
            pdf.setTitle(current().title);
            pdf.setCreator(QStringLiteral("Cantorium"));
            pdf.setPageSize(QPageSize(QPageSize::A4));
            pdf.setPageOrientation(QPageLayout::Landscape);
            pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
            pdf.setResolution(300);
            QPainter painter;
            written = painter.begin(&pdf);
            if (written) {
                paintChart(painter, QRectF(QPointF(0, 0), QSizeF(pdf.width(), pdf.height())));
                written = painter.end();
            }
        }
        // A failed write leaves any earlier file as it was.
        written = written && file.commit();
    }
    if (!written) {
        file.cancel();
        desktop().error(kSaveFailed);
    }
    return written;
}

void FrmStatistiche::btnSalvaClick()
{
    const FileFilters filters{{QStringLiteral("Immagine PNG"), {QStringLiteral("*.png")}},
                              {QStringLiteral("Disegno SVG"), {QStringLiteral("*.svg")}},
                              {QStringLiteral("Documento PDF"), {QStringLiteral("*.pdf")}}};
    const QString folder = QFileInfo(m_source.path).absolutePath();
    const QString proposed = folder + QLatin1Char('/') + current().title + QStringLiteral(".png");
    const QString path = desktop().saveFileName(this, QStringLiteral("Salva grafico"), proposed, filters,
                                                QStringLiteral("png"));
    if (path.isEmpty())
        return;
    if (saveChart(path))
        desktop().information(QStringLiteral("Il grafico è stato salvato."));
}

void FrmStatistiche::btnStampaClick()
{
    // One A4 landscape page with the chart drawn at print resolution, through the print dialog.
    report::ReportTemplate page;
    page.name = QStringLiteral("Statistiche");
    page.setOrientation(QPageLayout::Landscape);
    page.marginLeft = page.marginTop = page.marginRight = page.marginBottom = 10;
    const QRectF area(QPointF(0, 0), page.printableRect().size());
    report::ReportObject picture;
    picture.kind = report::ObjectKind::Picture;
    picture.name = QStringLiteral("imgGrafico");
    picture.rect = area;
    page.objects.append(picture);
    const QSize pixels = report::pixelsForBox(area.size(), 200);
    QImage chart(pixels, QImage::Format_ARGB32_Premultiplied);
    chart.fill(Qt::white);
    {
        QPainter painter(&chart);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal scale = qreal(pixels.width()) / qreal(chtGrafico->viewport()->width());
        painter.scale(scale, scale);
        paintChart(painter, QRectF(QPointF(0, 0), QSizeF(pixels) / scale));
    }
    page.setPicture(picture.name, chart);
    desktop().printReport(this, report::prepareReport(page));
}
