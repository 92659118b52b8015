#include "lists/SearchWindow.h"

#include "app/ArchiveMessages.h"
#include "app/Artwork.h"
#include "app/Desktop.h"
#include "app/Fields.h"
#include "app/Look.h"
#include "app/Widgets.h"
#include "core/RecordFile.h"
#include "core/Text.h"
#include "lists/ListEntries.h"
#include "lists/RecordFilter.h"
#include "lists/ResultList.h"
#include "records/FieldTable.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyleHints>
#include <QTimer>

namespace
{
const QSize kClient(862, 560);
const QSize kPanel(833, 529);
constexpr int kFilterCount = 10;

// The rows that filter, in their order on the panel.
std::array<const FieldInfo *, kFilterCount> filtersOf(const FieldTable &fields)
{
    std::array<const FieldInfo *, kFilterCount> filters{};
    for (const FieldInfo &f : fields)
        if (f.filter.order > 0)
            filters.at(size_t(f.filter.order - 1)) = &f;
    for (const FieldInfo *f : filters)
        Q_ASSERT(f);
    return filters;
}
} // namespace

SearchWindow::SearchWindow(QWidget *owner, const QString &name, const QString &title,
                           const Lists::LineFormat &format, const FieldTable &fields, const QString &picture)
    : ListWindow(owner, name, title, kClient, Qt::black, Qt::white, kPanel)
    , m_format(format)
{
    using namespace ListLook;
    panContainer = panel();
    buildResultPanel(panContainer, &lblTrovate);
    panContainer->hide();

    panAvvio = new QWidget(this);
    panAvvio->setObjectName(QStringLiteral("panAvvio"));
    panAvvio->setGeometry(panContainer->geometry());
    QWidget *p = panAvvio;

    shape(p, QStringLiteral("shpIstruzioni"), QRect(0, 0, 833, 72), Qt::white, Look::kSearchGrey);
    new Artwork(p, QStringLiteral("imgSpiega"), QStringLiteral(":/lists/spiega.svg"), QRect(10, 10, 52, 52));
    label(
        p, QStringLiteral("lblRigo04"),
        QStringLiteral("Immettere nei campi prescelti una o più parole consecutive presenti nelle schede da "
                       "trovare e premere il pulsante Cerca."),
        QPoint(72, 10));
    label(p, QStringLiteral("lblRigo05"), QStringLiteral("Lasciare in bianco tutti gli altri campi."),
          QPoint(72, 29));
    label(p, QStringLiteral("lblRigo06"),
          QStringLiteral("Per ogni ricerca è possibile utilizzare uno o più campi contemporaneamente."),
          QPoint(72, 48));

    shape(p, QStringLiteral("shpFiltri"), QRect(0, 84, 833, 382), Look::kSearchGrey,
          Look::kSearchGrey, Qt::white);
    QList<QWidget *> chain;
    const auto filters = filtersOf(fields);
    for (int i = 0; i < kFilterCount; ++i) {
        const FieldInfo &f = *filters.at(size_t(i));
        const int x = i < 5 ? 60 : 452;
        const int y = 100 + (i % 5) * 72;
        QLabel *caption = label(p, QString(), QString::fromUtf8(f.filter.caption), QPoint(x, y), 12);
        auto *field = new QLineEdit(p);
        nameAfter(field, caption->text(), caption);
        field->setObjectName(QString::fromLatin1(f.control));
        field->setFont(Look::uiFont(12, true));
        field->setGeometry(x, y + 26, 320, 24);
        Fields::frameHighlight(field, QString::fromLatin1(f.filter.frame));
        filterFields << field;
        chain << field;
        m_fieldOf << f.field;
    }
    // Enter walks the filters and comes back to the first; it never starts the search.
    Fields::enterChain(chain);

    new Artwork(p, picture,
                picture == QLatin1String("imgTrova01") ? QStringLiteral(":/lists/lente.svg")
                                                       : QStringLiteral(":/lists/cliente.svg"),
                QRect(10, 474, 48, 48));
    btnCerca = button(p, QStringLiteral("btnCerca"), QStringLiteral("Cerca"), QRect(534, 484, 140, 32));
    btnAnnulla = button(p, QStringLiteral("btnAnnulla"), QStringLiteral("Chiudi"), QRect(684, 484, 140, 32));
    lblAttendere =
        label(p, QStringLiteral("lblAttendere"), QStringLiteral("Ricerca schede in corso. Attendere..."),
              QPoint(72, 490), 10, true, Look::kDarkCyan);
    lblAttendere->hide();
    lblConta = stateLabel(p, QStringLiteral("lblConta"));
    lblConta->setText(QStringLiteral("0"));
    lblMemory = stateLabel(p, QStringLiteral("lblMemory"));

    connect(btnCerca, &QPushButton::pressed, lblAttendere, &QLabel::show);
    connect(btnCerca, &QPushButton::clicked, this, [this] { guarded([this] { btnCercaClick(); }); });
    connect(btnAnnulla, &QPushButton::clicked, this, [this] { guarded([this] { closeList(); }); });
    connectList();
    // Esc closes the search from either panel, as its Chiudi button there does.
    closeOnEscape(btnAnnulla);
    closeOnEscape(btnChiudi);
}

void SearchWindow::showEvent(QShowEvent *event)
{
    ListWindow::showEvent(event);
    if (event->spontaneous())
        return;
    resetFind();
    filterFields.first()->setFocus();
}

void SearchWindow::closeList()
{
    lblAttendere->hide();
    ListWindow::closeList();
}

void SearchWindow::setCaller(Caller caller)
{
    m_caller = caller;
    switch (caller) {
    case Caller::None: lblMemory->clear(); break;
    case Caller::SongEditor: lblMemory->setText(QStringLiteral("collection")); break;
    case Caller::SingerEditor: lblMemory->setText(QStringLiteral("anagrafica")); break;
    }
}

void SearchWindow::btnCercaClick()
{
    // The waiting line is shown while Cerca is held down; it goes whatever the search's end.
    struct HideWhenDone {
        QLabel *label;
        ~HideWhenDone() { label->hide(); }
    } waiting{lblAttendere};

    Lists::RecordFilter filter(m_format.schema());
    for (int i = 0; i < filterFields.size(); ++i)
        filter.add(m_fieldOf.at(i), filterFields.at(i)->text());
    lblConta->setText(QString::number(filter.filled()));

    Lists::Entries entries;
    try {
        Lists::scanFile(
            archivePath(), m_format, [&filter](const char *record) { return filter.matches(record); },
            entries);
    } catch (const FileError &) {
        desktop().plain(ArchiveMessages::kNoAccess);
        return;
    }
    Lists::sortEntries(entries);
    const int count = int(entries.size());
    lstRecords->setEntries(std::move(entries));
    lblTrovate->setText(count == 1 ? QStringLiteral("Il presente riepilogo contiene 1 scheda.")
                                   : QStringLiteral("Il presente riepilogo contiene %1 schede.").arg(count));
    lblTrovate->adjustSize();
    // The second click of a double-click on Cerca would land on what the result panel shows in
    // its place (Stampa), and even a click ignored there would take the focus: until a
    // double-click is over, the panel lets clicks through to the bare window.
    panContainer->setAttribute(Qt::WA_TransparentForMouseEvents);
    QTimer::singleShot(
        QGuiApplication::styleHints()->mouseDoubleClickInterval(), panContainer,
        [panel = panContainer] { panel->setAttribute(Qt::WA_TransparentForMouseEvents, false); });
    panContainer->show();
    panAvvio->hide();
    txtTrova->clear();
    txtTrova->setFocus();
}
