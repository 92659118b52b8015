#include "lists/FrmTrovaCanzone.h"

#include "app/Widgets.h"
#include "collections/FrmCollection.h"
#include "records/SongCard.h"
#include "core/Text.h"
#include "lists/ListEntries.h"

#include <QLabel>

namespace
{
const SearchWindow::Filter kFilters[10] = {
    {"txtTitolo", "Titolo canzone:", "effTitolo", SongCard::Titolo},
    {"txtCantante", "Cantante:", "effCantante", SongCard::Cantante},
    {"txtAlbum", "Album:", "effAlbum", SongCard::Album},
    {"txtGenere", "Genere musicale:", "effGenere", SongCard::Genere},
    {"txtAutori", "Autori:", "effAutori", SongCard::Autori},
    {"txtNazione", "Nazione:", "effNazione", SongCard::Nazione},
    {"txtAnno", "Anno:", "effAnno", SongCard::Anno},
    {"txtTesto", "Testo canzone:", "effTesto", SongCard::Testo},
    {"txtStoria", "Traduzione:", "effStoria", SongCard::Storia},
    {"txtNote", "Note:", "effNote", SongCard::Note},
};
} // namespace

FrmTrovaCanzone::FrmTrovaCanzone(FrmCollection *editor)
    : SearchWindow(editor, QStringLiteral("frmTrovaCanzone"), QStringLiteral(" Trova canzone in collection"),
                   Lists::songLine(), kFilters, QStringLiteral("imgCliente"))
    , m_editor(editor)
{
}

QString FrmTrovaCanzone::reportTitle() const
{
    return QStringLiteral("Riepilogo canzoni in collection");
}

QString FrmTrovaCanzone::archivePath() const
{
    return stateOf(m_editor->lblFile);
}

void FrmTrovaCanzone::openRecord(qint64 position)
{
    if (stateOf(lblMemory) != QLatin1String("collection"))
        return;
    const QByteArray record = Lists::readRecord(archivePath(), SongCard::kSize, position);
    m_editor->showCard(SongCard::decode(record), position);
}
