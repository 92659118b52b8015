#include "table/FrmElenco.h"

#include "app/Look.h"
#include "table/CardTableModel.h"
#include "table/Fold.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

// Paints a cell's text as plain text with the search's hits on a yellow ground.
class HitDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QList<QByteArray> words;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
        if (text.isEmpty())
            return;
        const QRect box = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget).adjusted(3, 0, -3, 0);
        const bool selected = opt.state & QStyle::State_Selected;
        const QFontMetrics fm(opt.font);
        const QString shown = text.contains(QLatin1Char('\n')) ? QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')) : text;
        const QList<std::pair<int, int>> hits = Fold::hits(shown, words);
        painter->save();
        painter->setClipRect(box);
        painter->setFont(opt.font);
        int x = box.left();
        int at = 0;
        auto piece = [&](int from, int to, bool hit) {
            if (from >= to || x > box.right())
                return;
            const QString part = shown.mid(from, to - from);
            const int w = fm.horizontalAdvance(part);
            if (hit)
                painter->fillRect(QRect(x, box.top() + 2, w, box.height() - 4), Look::kYellow);
            painter->setPen(opt.palette.color(selected && !hit ? QPalette::HighlightedText : QPalette::Text));
            painter->drawText(QRect(x, box.top(), w + 1, box.height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, part);
            x += w;
        };
        for (const auto &h : hits) {
            piece(at, h.first, false);
            piece(h.first, h.second, true);
            at = h.second;
        }
        piece(at, int(shown.size()), false);
        painter->restore();
    }
};

namespace
{
constexpr int kProgressAfterMs = 200;
// A search slower than this waits for a pause in the typing.
constexpr qint64 kKeepsUpMs = 16;

// Every longer query whose words each contain one of the old words finds a part of the old rows.
bool narrows(const QList<QByteArray> &before, const QList<QByteArray> &now)
{
    if (before.isEmpty())
        return false;
    for (const QByteArray &old : before) {
        bool kept = false;
        for (const QByteArray &w : now)
            kept = kept || w.contains(old);
        if (!kept)
            return false;
    }
    return true;
}
} // namespace

FrmElenco::FrmElenco(const QString &path, ArchiveKind kind, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_path(path)
    , m_kind(kind)
    , m_index(kind)
{
    setObjectName(QStringLiteral("frmElenco"));
    const QString name = kind == ArchiveKind::Songs ? QFileInfo(path).completeBaseName() : QStringLiteral("Archivio cantanti");
    setWindowTitle(QStringLiteral(" Cantorium - Elenco delle schede - %1").arg(name));
    setMinimumSize(640, 400);
    resize(1100, 680);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 10);
    layout->setSpacing(8);

    lblTitolo = new QLabel(this);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setTextFormat(Qt::PlainText);
    lblTitolo->setText(kind == ArchiveKind::Songs ? QStringLiteral("Elenco della collection: %1").arg(name)
                                                  : QStringLiteral("Elenco dell'archivio cantanti"));
    lblTitolo->setFont(Look::uiFont(14, true));
    lblTitolo->setStyleSheet(QStringLiteral("color: white;"));
    layout->addWidget(lblTitolo);

    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("panCerca"));
    bar->setAttribute(Qt::WA_StyledBackground);
    bar->setStyleSheet(QStringLiteral("#panCerca { background: white; border: 1px solid %1; border-radius: 4px; }")
                           .arg(Look::kBoxBorder.name()));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(10, 6, 10, 6);
    auto *label = new QLabel(QStringLiteral("Cerca:"), bar);
    label->setFont(Look::uiFont(10, true));
    label->setStyleSheet(QStringLiteral("color: %1;").arg(Look::kInk.name()));
    txtCerca = new QLineEdit(bar);
    txtCerca->setObjectName(QStringLiteral("txtCerca"));
    txtCerca->setFont(Look::uiFont(11));
    txtCerca->setPlaceholderText(kind == ArchiveKind::Songs
                                     ? QStringLiteral("Parole del titolo, del cantante, del testo... (Esc cancella)")
                                     : QStringLiteral("Parole di qualsiasi campo della scheda (Esc cancella)"));
    txtCerca->setClearButtonEnabled(true);
    label->setBuddy(txtCerca);
    cboCampi = new QComboBox(bar);
    cboCampi->setObjectName(QStringLiteral("cboCampi"));
    if (kind == ArchiveKind::Songs)
        cboCampi->addItems({QStringLiteral("Tutti i campi"), QStringLiteral("Titolo e cantante"), QStringLiteral("Testo")});
    else
        cboCampi->addItems({QStringLiteral("Tutti i campi"), QStringLiteral("Nome e nome d'arte")});
    cboCampi->setAccessibleName(QStringLiteral("Campi in cui cercare"));
    chkDoppioni = new QCheckBox(QStringLiteral("Doppioni"), bar);
    chkDoppioni->setObjectName(QStringLiteral("chkDoppioni"));
    chkDoppioni->setToolTip(kind == ArchiveKind::Songs
                                ? QStringLiteral("Mostra solo le schede con lo stesso titolo e lo stesso cantante di un'altra")
                                : QStringLiteral("Mostra solo le schede con lo stesso nome d'arte di un'altra"));
    row->addWidget(label);
    row->addWidget(txtCerca, 1);
    row->addWidget(cboCampi);
    row->addWidget(chkDoppioni);
    layout->addWidget(bar);

    m_model = new CardTableModel(m_index, this);
    grdElenco = new QTableView(this);
    grdElenco->setObjectName(QStringLiteral("grdElenco"));
    grdElenco->setModel(m_model);
    m_delegate = new HitDelegate(grdElenco);
    grdElenco->setItemDelegate(m_delegate);
    grdElenco->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdElenco->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grdElenco->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdElenco->setAlternatingRowColors(true);
    grdElenco->setSortingEnabled(true);
    grdElenco->setWordWrap(false);
    grdElenco->setFont(Look::uiFont(9));
    grdElenco->verticalHeader()->setVisible(false);
    grdElenco->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdElenco->verticalHeader()->setDefaultSectionSize(QFontMetrics(grdElenco->font()).height() + 8);
    grdElenco->horizontalHeader()->setSectionsMovable(true);
    grdElenco->horizontalHeader()->setStretchLastSection(true);
    grdElenco->horizontalHeader()->setHighlightSections(false);
    for (int c = 0; c < TableColumns::count(kind); ++c)
        grdElenco->setColumnWidth(c, TableColumns::at(kind, c).width);
    grdElenco->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    grdElenco->installEventFilter(this);
    layout->addWidget(grdElenco, 1);

    auto *foot = new QHBoxLayout;
    lblConteggio = new QLabel(this);
    lblConteggio->setObjectName(QStringLiteral("lblConteggio"));
    lblConteggio->setTextFormat(Qt::PlainText);
    lblConteggio->setFont(Look::uiFont(10, true));
    lblConteggio->setStyleSheet(QStringLiteral("color: %1;").arg(Look::kGreen.name()));
    prgIndice = new QProgressBar(this);
    prgIndice->setObjectName(QStringLiteral("prgIndice"));
    prgIndice->setRange(0, 100);
    prgIndice->setFormat(QStringLiteral("Lettura dell'archivio: %p%"));
    prgIndice->setMaximumWidth(320);
    prgIndice->hide();
    lblStato = new QLabel(this);
    lblStato->setObjectName(QStringLiteral("lblStato"));
    lblStato->setTextFormat(Qt::PlainText);
    lblStato->setStyleSheet(QStringLiteral("color: #B00000;"));
    lblStato->setWordWrap(true);
    auto *hint = new QLabel(QStringLiteral("Doppio clic o Invio: apre la scheda"), this);
    hint->setStyleSheet(QStringLiteral("color: %1;").arg(Look::kNoteInk.name()));
    foot->addWidget(lblConteggio);
    foot->addWidget(prgIndice);
    foot->addWidget(lblStato, 1);
    foot->addWidget(hint);
    btnCanzoniere = new QPushButton(QStringLiteral("Canzoniere..."), this);
    btnCanzoniere->setObjectName(QStringLiteral("btnCanzoniere"));
    btnCanzoniere->setToolTip(QStringLiteral("Prepara un canzoniere con le schede selezionate o, senza selezione, con quelle trovate"));
    btnCanzoniere->hide();
    connect(btnCanzoniere, &QPushButton::clicked, this, [this] { emit songbookRequested(songbookPositions()); });
    foot->addWidget(btnCanzoniere);
    layout->addLayout(foot);

    txtCerca->installEventFilter(this);
    m_debounce = new QTimer(this);
    m_debounce->setSingleShot(true);
    connect(m_debounce, &QTimer::timeout, this, &FrmElenco::runSearch);
    connect(txtCerca, &QLineEdit::textChanged, this, &FrmElenco::txtCercaTextChanged);
    connect(cboCampi, qOverload<int>(&QComboBox::currentIndexChanged), this, &FrmElenco::runSearch);
    connect(chkDoppioni, &QCheckBox::toggled, this, &FrmElenco::runSearch);
    connect(grdElenco, &QTableView::doubleClicked, this, [this](const QModelIndex &i) { pickRow(i.row()); });
    m_progress = new QTimer(this);
    m_progress->setInterval(50);
    connect(m_progress, &QTimer::timeout, this, [this] {
        if (m_scanClock.elapsed() < kProgressAfterMs)
            return;
        const qint64 total = qMax<qint64>(1, CardIndex::Stamp::of(m_path).size / TableColumns::recordSize(m_kind));
        prgIndice->setValue(int(qMin<qint64>(100, m_done.load() * 100 / total)));
        prgIndice->show();
    });

    restoreSettings();
    lblConteggio->setText(QStringLiteral("Lettura dell'archivio..."));
    startScan();
}

FrmElenco::~FrmElenco()
{
    if (m_worker) {
        m_stop = true;
        m_worker->wait();
        delete m_worker;
    }
}

void FrmElenco::startScan()
{
    if (m_worker)
        return;
    m_done = 0;
    m_stop = false;
    m_scanClock.start();
    m_progress->start();
    const QString path = m_path;
    const ArchiveKind kind = m_kind;
    const QVector<quint64> known = m_index.hashes();
    const int sorted = grdElenco->horizontalHeader()->sortIndicatorSection();
    m_worker = QThread::create([this, path, kind, known, sorted] {
        m_scan = CardIndex::scan(path, kind, known, &m_done, &m_stop, sorted);
    });
    connect(m_worker, &QThread::finished, this, &FrmElenco::scanFinished);
    m_worker->start(QThread::LowPriority);
}

void FrmElenco::scanFinished()
{
    m_worker->deleteLater();
    m_worker = nullptr;
    m_progress->stop();
    prgIndice->hide();
    if (m_stop)
        return;
    const bool again = m_searchAgain;
    m_searchAgain = false;
    const bool first = !m_ready;
    const int before = m_index.count();
    const QVector<int> changed = m_index.apply(std::move(m_scan));
    m_scan = CardIndex::Scan();
    m_ready = true;
    lblStato->setText(m_index.error().isEmpty() ? QString()
                                               : QStringLiteral("Attenzione: l'archivio non si legge per intero (%1).").arg(m_index.error()));
    if (first || !changed.isEmpty() || before != m_index.count()) {
        m_duplicatesKnown = false;
        m_words.clear(); // the rows are found again from the whole index
        m_scope = -1;
        runSearch();
    }
    if (again && CardIndex::Stamp::of(m_path) != m_index.stamp())
        startScan();
    if (first)
        grdElenco->sortByColumn(grdElenco->horizontalHeader()->sortIndicatorSection(),
                                grdElenco->horizontalHeader()->sortIndicatorOrder());
    emit ready();
}

void FrmElenco::txtCercaTextChanged()
{
    if (m_lastSearchMs <= kKeepsUpMs && !m_debounce->isActive()) {
        runSearch();
        return;
    }
    m_debounce->start(int(qMin<qint64>(m_lastSearchMs, 250)));
}

void FrmElenco::runSearch()
{
    m_debounce->stop();
    if (!m_ready)
        return;
    // Another copy of the program may have written the file: read again what changed, then
    // search again; meanwhile the rows stay as they are.
    if (CardIndex::Stamp::of(m_path) != m_index.stamp()) {
        if (m_worker)
            m_searchAgain = true; // the reading under way may have started before the change
        else
            startScan();
    }
    QElapsedTimer clock;
    clock.start();
    const QList<QByteArray> words = Fold::words(txtCerca->text());
    const int scope = cboCampi->currentIndex();
    const bool doubles = chkDoppioni->isChecked();
    const QVector<int> *within = nullptr;
    if (doubles && !m_duplicatesKnown) {
        m_duplicates = m_index.duplicates();
        m_duplicatesKnown = true;
    }
    if (scope == m_scope && doubles == m_doubles && narrows(m_words, words))
        within = &m_result;
    else if (doubles)
        within = &m_duplicates;
    const CardIndex::Scope s = scope == 1 ? CardIndex::Scope::TitleSinger
                               : scope == 2 ? CardIndex::Scope::Lyrics
                                            : CardIndex::Scope::All;
    QVector<int> rows = m_index.search(words, s, within);
    m_result = rows;
    m_words = words;
    m_scope = scope;
    m_doubles = doubles;
    m_delegate->words = words;
    const QList<qint64> selected = selectedPositions();
    m_model->setRows(std::move(rows), doubles);
    grdElenco->horizontalHeader()->setSortIndicatorShown(!doubles);
    // The rows selected before stay selected when the search still shows them.
    if (!selected.isEmpty()) {
        QItemSelection keep;
        for (int r : m_model->rowsOf(selected))
            if (r >= 0)
                keep.select(m_model->index(r, 0), m_model->index(r, m_model->columnCount() - 1));
        grdElenco->selectionModel()->select(keep, QItemSelectionModel::Select);
    }
    showCount();
    m_lastSearchMs = clock.elapsed();
}

QString FrmElenco::countLine(qsizetype shown, qsizetype total)
{
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    return QStringLiteral("%1 %2 su %3")
        .arg(italian.toString(qint64(shown)), shown == 1 ? QStringLiteral("scheda") : QStringLiteral("schede"),
             italian.toString(qint64(total)));
}

void FrmElenco::showCount()
{
    lblConteggio->setText(countLine(m_model->rowCount(), m_index.count()));
}

QList<qint64> FrmElenco::positionsShown() const
{
    QList<qint64> out;
    out.reserve(m_model->rowCount());
    for (int r = 0; r < m_model->rowCount(); ++r)
        out.append(m_model->position(r));
    return out;
}

QList<qint64> FrmElenco::selectedPositions() const
{
    QList<int> rows;
    for (const QModelIndex &i : grdElenco->selectionModel()->selectedRows())
        rows.append(i.row());
    std::sort(rows.begin(), rows.end());
    QList<qint64> out;
    for (int r : rows)
        out.append(m_model->position(r));
    return out;
}

void FrmElenco::setSongbookShown(bool shown)
{
    btnCanzoniere->setVisible(shown);
}

QList<qint64> FrmElenco::songbookPositions() const
{
    const QList<qint64> selected = selectedPositions();
    return selected.isEmpty() ? positionsShown() : selected;
}

void FrmElenco::updateCard(qint64 position)
{
    if (!m_ready)
        return; // the reading under way meets the card as saved
    m_index.updateCard(m_path, position);
    m_duplicatesKnown = false;
    // The card may now match the search or no longer: the rows are found again in full.
    m_words.clear();
    m_scope = -1;
    runSearch();
}

void FrmElenco::pickRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    emit cardPicked(m_model->position(row));
}

bool FrmElenco::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (watched == grdElenco && enter) {
            pickRow(grdElenco->currentIndex().row());
            return true;
        }
        if (watched == txtCerca && enter) {
            const int current = grdElenco->currentIndex().row();
            pickRow(current >= 0 ? current : 0);
            return true;
        }
        if (key->key() == Qt::Key_Escape && (watched == txtCerca || watched == grdElenco)) {
            txtCerca->clear();
            txtCerca->setFocus();
            return true;
        }
        if (watched == txtCerca && (key->key() == Qt::Key_Down || key->key() == Qt::Key_PageDown)) {
            grdElenco->setFocus();
            if (!grdElenco->currentIndex().isValid() && m_model->rowCount() > 0)
                grdElenco->setCurrentIndex(m_model->index(0, 0));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FrmElenco::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, Look::kWorkTop);
    g.setColorAt(0.35, Look::kPaleSteel);
    g.setColorAt(1, Qt::white);
    p.fillRect(rect(), g);
}

QString FrmElenco::settingsGroup() const
{
    return m_kind == ArchiveKind::Songs ? QStringLiteral("elenco-canzoni") : QStringLiteral("elenco-cantanti");
}

void FrmElenco::saveSettings() const
{
    QSettings s;
    s.beginGroup(settingsGroup());
    s.setValue(QStringLiteral("colonne"), grdElenco->horizontalHeader()->saveState());
    s.setValue(QStringLiteral("finestra"), saveGeometry());
    s.setValue(QStringLiteral("campi"), cboCampi->currentIndex());
}

void FrmElenco::restoreSettings()
{
    QSettings s;
    s.beginGroup(settingsGroup());
    const QByteArray columns = s.value(QStringLiteral("colonne")).toByteArray();
    if (!columns.isEmpty() && grdElenco->horizontalHeader()->restoreState(columns) &&
        grdElenco->horizontalHeader()->count() != TableColumns::count(m_kind)) {
        for (int c = 0; c < TableColumns::count(m_kind); ++c)
            grdElenco->setColumnWidth(c, TableColumns::at(m_kind, c).width);
    }
    const QByteArray geometry = s.value(QStringLiteral("finestra")).toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    const int fields = s.value(QStringLiteral("campi"), 0).toInt();
    if (fields >= 0 && fields < cboCampi->count())
        cboCampi->setCurrentIndex(fields);
}

void FrmElenco::closeEvent(QCloseEvent *event)
{
    saveSettings();
    QWidget::closeEvent(event);
}
