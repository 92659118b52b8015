#pragma once

#include "app/Windows.h"
#include "stats/StatsCount.h"

#include <functional>

class QChart;
class QColor;
class QFont;
class QChartView;
class QComboBox;
class QLabel;
class QPainter;
class QPushButton;
class QRadioButton;
class QTableWidget;
class ResultList;

// What the statistics window is opened on: a song collection or the singer archive.
struct StatsSource {
    enum class Kind { Songs, Singers };
    Kind kind = Kind::Songs;
    QString path; // the archive file
    // Singers only: whether the card at a position has its photo file.
    std::function<bool(qint64)> hasPhoto;
};

// "Statistiche": the charts of one archive, as bars or as a pie, each with a table of its exact
// counts. Clicking a bar, a slice or a table row lists the group's cards; opening one hands its
// position back to the opener.
class FrmStatistiche : public FixedDialog
{
    Q_OBJECT
public:
    FrmStatistiche(QWidget *owner, const StatsSource &source, Stats::Summary summary);

    // Counts the archive and runs the window modally. Returns the position of the card the
    // user opened, or 0. A failure to read, or an empty archive, is told and opens nothing.
    static qint64 run(QWidget *owner, const StatsSource &source);

    qint64 pickedPosition() const { return m_picked; }
    const Stats::Summary &summary() const { return m_summary; }
    // The chart as shown, drawn on any paint device within `target` (for files and print).
    void paintChart(QPainter &painter, const QRectF &target);
    // Writes the chart to `path`, as PNG, SVG or PDF after its suffix; false with a message.
    bool saveChart(const QString &path);

    QComboBox *cboGrafico = nullptr;
    QRadioButton *optBarre = nullptr, *optTorta = nullptr;
    QChartView *chtGrafico = nullptr;
    QTableWidget *grdConteggi = nullptr;
    QLabel *lblTotale = nullptr, *lblNota = nullptr, *lblSchede = nullptr;
    ResultList *lstRecords = nullptr;
    QPushButton *btnSalva = nullptr, *btnStampa = nullptr, *btnApri = nullptr, *btnChiudi = nullptr,
                *btnGuida = nullptr;

    void showChart(int index);
    void showGroup(int row);
    void btnSalvaClick();
    void btnStampaClick();
    void btnApriClick();

    static const QString kHelpTitle;
    static QString helpText();
    static const QString kSaveFailed;
    static const QString kWrongFormat;

private:
    const Stats::Chart &current() const;
    void buildChart();
    void addLegend(QChart *chart, const QList<QPair<QString, QColor>> &entries, const QFont &font);

    StatsSource m_source;
    Stats::Summary m_summary;
    int m_chart = 0;
    qint64 m_picked = 0;
};
