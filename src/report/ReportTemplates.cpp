#include "report/ReportTemplates.h"

#include "report/ListReport.h"
#include "records/SongCard.h"

// Each template is its design table: one row per object, in drawing order, positions and sizes
// in report units. Rows name a look (fill and font) instead of repeating it.

namespace report
{
namespace
{

const QColor kBeige = QColor::fromRgba(0xFFF5F5DC);
const QColor kCornflower = QColor::fromRgba(0xFF6495ED);
const QColor kLightYellow = QColor::fromRgba(0xFFFFFFE0);
const QColor kRoyalBlue = QColor::fromRgba(0xFF4169E1);
const QColor kSlateGrey = QColor(0x70, 0x80, 0x90);

enum class Look {
    None,
    BeigeShape,
    BlueShape,
    Rule,
    Arial7,      // Arial 7 pt black
    Arial8,      // Arial 8 pt black
    Arial8Cap,   // Arial 8 pt bold light yellow
    Arial8White, // Arial 8 pt bold white
    Arial9White, // Arial 9 pt bold white
    Memo,        // beige fill, Arial 8 pt black, word wrap, top aligned
};

struct Row {
    ObjectKind kind;
    const char *name;
    double left, top, width, height;
    Look look;
    const char *text;
};

ReportObject fromRow(const Row &r)
{
    ReportObject o;
    o.kind = r.kind;
    o.name = QString::fromLatin1(r.name);
    o.rect = QRectF(r.left, r.top, r.width, r.height);
    o.family = QStringLiteral("Arial");
    switch (r.look) {
    case Look::None:
    case Look::Rule:
        break;
    case Look::BeigeShape:
        o.fill = kBeige;
        break;
    case Look::BlueShape:
        o.fill = kCornflower;
        break;
    case Look::Arial7:
        o.points = 7;
        break;
    case Look::Arial8:
        o.points = 8;
        break;
    case Look::Arial8Cap:
        o.bold = true;
        o.colour = kLightYellow;
        break;
    case Look::Arial8White:
        o.bold = true;
        o.colour = Qt::white;
        break;
    case Look::Arial9White:
        o.points = 9;
        o.bold = true;
        o.colour = Qt::white;
        break;
    case Look::Memo:
        o.fill = kBeige;
        o.wordWrap = true;
        o.vAlign = VAlign::Top;
        break;
    }
    if (r.text)
        o.setText(QString::fromUtf8(r.text));
    return o;
}

// The cell of a song card field: the printer fills the object named after the field's control.
const char *song(SongCard::Field field)
{
    return SongCard::fields()[field].control;
}

constexpr ObjectKind S = ObjectKind::Shape, T = ObjectKind::Text, H = ObjectKind::HLine,
                     V = ObjectKind::VLine;

// "Scheda Canzone": A4 portrait, no margins, everything on the page.
const Row kSongCard[] = {
    {S, "Shape2", 41.57, 252.47, 347.72, 706.77, Look::BeigeShape, nullptr},
    {V, "Line1", 37.80, 68.03, 0, 1024.25, Look::Rule, nullptr},
    {H, "Line2", 37.80, 1093.04, 718.11, 0, Look::Rule, nullptr},
    {H, "Line3", 37.80, 68.03, 718.11, 0, Look::Rule, nullptr},
    {V, "Line4", 755.91, 68.03, 0, 1024.25, Look::Rule, nullptr},
    {H, "Line5", 41.57, 113.39, 710.55, 0, Look::Rule, nullptr},
    {S, "Shape1", 41.57, 119.43, 710.55, 18.14, Look::BeigeShape, nullptr},
    {T, "txtCollection", 37.80, 39.31, 718.11, 12.85, Look::Arial7, "TITOLO COLLECTION"},
    {S, "Shape6", 41.57, 71.81, 710.55, 37.80, Look::BlueShape, nullptr},
    {T, "titCommittente", 45.35, 75.59, 103.56, 14.36, Look::Arial8Cap, "TITOLO BRANO:"},
    {T, song(SongCard::Album), 37.80, 52.91, 718.11, 12.85, Look::Arial7, "ALBUM:"},
    {T, "titImpresa", 45.35, 91.46, 103.56, 14.36, Look::Arial8Cap, "CANTANTE:"},
    {T, song(SongCard::Titolo), 151.18, 75.59, 597.17, 14.36, Look::Arial8White, "Titolo canzone"},
    {T, song(SongCard::Cantante), 151.18, 91.46, 597.17, 14.36, Look::Arial8White, "Cantante"},
    {S, "Shape8", 41.57, 139.84, 710.55, 18.14, Look::BeigeShape, nullptr},
    {T, "titDirettore", 45.35, 120.94, 185.20, 14.36, Look::Arial8, "AUTORI:"},
    {T, "titResponsabile", 45.35, 141.35, 185.20, 14.36, Look::Arial8, "PREMI E RICONOSCIMENTI:"},
    {T, song(SongCard::Autori), 245.67, 120.94, 502.68, 14.36, Look::Arial8, "Autori"},
    {T, song(SongCard::Premi), 245.67, 141.35, 502.68, 14.36, Look::Arial8, "Premi e riconoscimenti"},
    {S, "Shape9", 396.85, 164.03, 355.28, 18.14, Look::BlueShape, nullptr},
    {S, "Shape10", 340.16, 185.20, 411.97, 18.14, Look::BlueShape, nullptr},
    {S, "Shape11", 41.57, 164.03, 135.31, 18.14, Look::BlueShape, nullptr},
    {S, "Shape12", 41.57, 185.20, 294.05, 18.14, Look::BlueShape, nullptr},
    {T, "Memo9", 45.35, 166.30, 52.91, 14.36, Look::Arial8Cap, "ANNO:"},
    {T, "Memo10", 45.35, 187.46, 64.25, 14.36, Look::Arial8Cap, "NAZIONE:"},
    {T, song(SongCard::Anno), 102.05, 166.30, 71.81, 14.36, Look::Arial8White, "ANNO"},
    {T, song(SongCard::Nazione), 113.39, 187.46, 219.21, 14.36, Look::Arial8White, "Nazione"},
    {T, "Memo11", 404.41, 166.30, 128.50, 14.36, Look::Arial8Cap, "GENERE MUSICALE:"},
    {T, song(SongCard::Genere), 540.47, 166.30, 211.65, 14.36, Look::Arial8White, "Genere musicale"},
    {T, "Memo12", 343.94, 187.46, 132.28, 14.36, Look::Arial8Cap, "CASA DISCOGRAFICA:"},
    {T, song(SongCard::Casa), 483.78, 187.46, 264.57, 14.36, Look::Arial8White, "Casa discografica"},
    {S, "Shape3", 41.57, 226.77, 347.72, 21.92, Look::BlueShape, nullptr},
    {T, "Memo3", 45.35, 230.55, 340.16, 15.12, Look::Arial9White, "TESTO CANZONE"},
    {S, "Shape4", 404.41, 252.47, 347.72, 706.77, Look::BeigeShape, nullptr},
    {S, "Shape5", 404.41, 226.77, 347.72, 21.92, Look::BlueShape, nullptr},
    {S, "Shape7", 41.57, 1065.07, 710.55, 22.68, Look::BeigeShape, nullptr},
    {S, "Shape13", 41.57, 1039.37, 710.55, 21.92, Look::BlueShape, nullptr},
    {T, "Memo4", 408.19, 230.55, 340.16, 15.12, Look::Arial9White, "TRADUZIONE"},
    {T, "Memo5", 45.35, 1043.15, 702.99, 15.12, Look::Arial9White, "NOTE"},
    {T, song(SongCard::Testo), 49.13, 257.01, 332.60, 698.46, Look::Memo, ""},
    {T, song(SongCard::Storia), 411.97, 257.01, 332.60, 698.46, Look::Memo, ""},
    {T, song(SongCard::Note), 45.35, 1069.61, 702.99, 14.36, Look::Arial8, "Note"},
    {S, "Shape14", 41.57, 1004.60, 710.55, 22.68, Look::BeigeShape, nullptr},
    {S, "Shape15", 41.57, 978.90, 710.55, 21.92, Look::BlueShape, nullptr},
    {T, "Memo1", 45.35, 982.68, 702.99, 15.12, Look::Arial9White, "MUSICA"},
    {T, song(SongCard::Musica), 45.35, 1009.13, 702.99, 14.36, Look::Arial8, "Musica"},
    {S, "Shape16", 181.42, 164.03, 211.65, 18.14, Look::BlueShape, nullptr},
    {T, "Memo2", 186.71, 166.30, 60.47, 14.36, Look::Arial8Cap, "DURATA:"},
    {T, song(SongCard::Durata), 253.23, 166.30, 136.82, 14.36, Look::Arial8White, "Durata"},
};

// What the following pages of a long song card call each filled text.
const struct {
    const char *object, *caption;
} kSongCardCaptions[] = {
    {"txtCollection", "COLLECTION"}, {"txtAlbum", "ALBUM"},
    {"txtTitolo", "TITOLO BRANO"},   {"txtCantante", "CANTANTE"},
    {"txtAutori", "AUTORI"},         {"txtPremi", "PREMI E RICONOSCIMENTI"},
    {"txtAnno", "ANNO"},             {"txtNazione", "NAZIONE"},
    {"txtGenere", "GENERE MUSICALE"}, {"txtCasa", "CASA DISCOGRAFICA"},
    {"txtDurata", "DURATA"},         {"txtTesto", "TESTO CANZONE"},
    {"txtStoria", "TRADUZIONE"},     {"txtMusica", "MUSICA"},
    {"txtNote", "NOTE"},
};

// "Scheda cantante": the captioned cells, each a blue caption bar over an outlined value box.
struct Cell {
    double top, left, width;
    const char *caption;
    const char *value;
    bool centred;
    bool raised; // caption at T + 2.27 and value at T + 22.68
};

const Cell kSingerCells[] = {
    {578.27, 3.78, 219.21, "LUOGO DI NASCITA", "txtLuogoNasc", false, false},
    {578.27, 230.55, 120.94, "DATA DI NASCITA", "txtDataNasc", true, false},
    {578.27, 359.06, 60.47, "SESSO", "txtSesso", true, false},
    {578.27, 427.09, 287.24, "NOME ANAGRAFICO", "txtIndirizzo", false, false},
    {631.18, 3.78, 181.42, "CONIUGE", "txtEmail", false, false},
    {631.18, 192.76, 158.74, "ESORDIO", "txtCodFisc", false, false},
    {631.18, 359.06, 147.40, "SOCIAL MEDIA", "txtPartitaIva", false, false},
    {631.18, 514.02, 200.32, "BAND DI APPARTENENZA", "txtIban", false, false},
    {684.09, 3.78, 347.72, "TITOLO DI STUDIO", "txtStudio", false, false},
    {684.09, 359.06, 355.28, "LINGUE CONOSCIUTE", "txtlingue", false, false},
    {737.01, 3.78, 347.72, "CANZONE CAPOLAVORO", "txtEstremi", false, true},
    {737.01, 359.06, 170.08, "FIGLI", "txtTel", false, false},
    {737.01, 536.69, 177.64, "DATA DECESSO", "txtCellulare", false, false},
    {789.92, 3.78, 170.08, "ALTEZZA", "txtAltezza", false, false},
    {789.92, 181.42, 170.08, "PESO", "txtPeso", false, false},
    {789.92, 359.06, 170.08, "OCCHI", "txtOcchi", false, false},
    {789.92, 536.69, 177.64, "CAPELLI", "txtCapelli", false, false},
    {842.84, 3.78, 170.08, "IMPEGNI SOCIALI", "txtVita", false, false},
    {842.84, 181.42, 170.08, "ALTRE ATTIVITA'", "txtFianchi", false, false},
    {842.84, 359.06, 170.08, "RESIDENZA ATTUALE", "txtTaglia", false, false},
    {842.84, 536.69, 177.64, "GIUDIZIO", "txtScarpe", false, false},
    {895.75, 3.78, 525.35, "GENERI MUSICALI", "txtEsperienze", false, false},
    {895.75, 536.69, 177.64, "CITTADINANZA", "txtCittadinanza", false, false},
    {948.66, 3.78, 710.55, "PREMI E RICONOSCIMENTI", "txtDisponibilita", false, false},
    {1001.58, 3.78, 710.55, "NOTE", "txtNote", false, true},
};

// "Riepilogo dati": bands and their objects; band rows carry only their height.
struct BandRow {
    ObjectKind kind;
    const char *name;
    const char *band;
    double left, top, width, height;
    const char *text;
};

constexpr ObjectKind TB = ObjectKind::TitleBand, DB = ObjectKind::DataBand, FB = ObjectKind::FooterBand;

const BandRow kList[] = {
    {TB, "ReportTitle", "", 0, 0, 1046.93, 30.24, nullptr},
    {T, "txtTitolo", "ReportTitle", 7.56, 3.78, 1031.81, 18.90, "Riepilogo"},
    {DB, "MasterData", "", 0, 0, 1046.93, 0, nullptr},
    {T, "txtRiepilogo", "MasterData", 11.34, 0, 1031.81, 0, ""},
    {FB, "Footer", "", 0, 0, 1046.93, 30.24, nullptr},
    {T, "txtPagina", "Footer", 11.34, 7.56, 1028.03, 18.90, "Stampa eseguita in data [DATE]"},
};

} // namespace

ReportTemplate songCardTemplate()
{
    ReportTemplate t;
    t.name = kSongCardName;
    for (const Row &r : kSongCard)
        t.objects.append(fromRow(r));
    for (const auto &c : kSongCardCaptions)
        t.object(QString::fromLatin1(c.object)).caption = QString::fromUtf8(c.caption);
    t.continuedTitle = QStringLiteral("txtTitolo");
    t.continuedColour = kCornflower;
    return t;
}

ReportTemplate singerCardTemplate()
{
    ReportTemplate t;
    t.name = kSingerCardName;
    t.marginLeft = 10;
    t.marginTop = 10;

    ReportObject title = fromRow({S, "shpTitolo", 3.78, 3.78, 710.55, 30.24, Look::None, nullptr});
    title.fill = kRoyalBlue;
    t.objects.append(title);
    ReportObject name = fromRow({T, "txtNome", 7.56, 8.31, 702.99, 22.68, Look::None, "Nome"});
    name.points = 12;
    name.colour = Qt::white;
    name.hAlign = Qt::AlignHCenter;
    name.caption = QStringLiteral("NOME D'ARTE");
    t.objects.append(name);
    t.continuedTitle = name.name;
    t.continuedColour = kRoyalBlue;
    t.objects.append(
        fromRow({ObjectKind::Picture, "imgLogo", 3.78, 41.57, 710.55, 529.13, Look::None, nullptr}));

    for (const Cell &c : kSingerCells) {
        const QString suffix = QString::fromLatin1(c.value).mid(3);
        ReportObject bar;
        bar.kind = ObjectKind::Shape;
        bar.name = QStringLiteral("shp") + suffix;
        bar.rect = QRectF(c.left, c.top, c.width, 18.14);
        bar.fill = kRoyalBlue;
        t.objects.append(bar);

        ReportObject caption = fromRow({T, "", c.left + 3.78, c.top + (c.raised ? 2.27 : 3.78),
                                        c.width - 7.56, 13.61, Look::Arial8White, c.caption});
        caption.name = QStringLiteral("tit") + suffix;
        t.objects.append(caption);

        ReportObject box;
        box.kind = ObjectKind::Frame;
        box.name = QStringLiteral("box") + suffix;
        box.rect = QRectF(c.left, c.top + 18.90, c.width, 22.68);
        t.objects.append(box);

        ReportObject value = fromRow({T, c.value, c.left + 3.78, c.top + (c.raised ? 22.68 : 24.19),
                                      c.width - 7.56, 15.12, Look::Arial8, ""});
        if (c.centred)
            value.hAlign = Qt::AlignHCenter;
        value.caption = QString::fromUtf8(c.caption);
        t.objects.append(value);
    }
    return t;
}

ReportTemplate listTemplate()
{
    ReportTemplate t;
    t.name = kListName;
    t.orientation = QPageLayout::Landscape;
    t.marginLeft = t.marginTop = t.marginRight = t.marginBottom = 10;
    for (const BandRow &r : kList) {
        ReportObject o;
        o.kind = r.kind;
        o.name = QString::fromLatin1(r.name);
        o.band = QString::fromLatin1(r.band);
        o.rect = QRectF(r.left, r.top, r.width, r.height);
        if (r.text)
            o.setText(QString::fromUtf8(r.text));
        t.objects.append(o);
    }
    ReportObject &title = *t.findObject(QStringLiteral("txtTitolo"));
    ReportObject &footer = *t.findObject(QStringLiteral("txtPagina"));
    for (ReportObject *o : {&title, &footer}) {
        o->fill = kSlateGrey;
        o->family = QStringLiteral("Verdana");
        o->bold = true;
        o->colour = Qt::white;
        o->hAlign = Qt::AlignHCenter;
    }
    title.points = 9;
    footer.points = 8;
    footer.dateMacro = true;
    ReportObject &lines = *t.findObject(QStringLiteral("txtRiepilogo"));
    lines.family = QStringLiteral("Courier New");
    lines.points = 8;
    lines.vAlign = VAlign::Top;
    // The list lines take exactly the height the filling gives them.
    lines.lineHeight = kListLineHeight;
    lines.clearLines();
    return t;
}

} // namespace report
