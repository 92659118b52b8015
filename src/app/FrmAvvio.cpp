#include "app/FrmAvvio.h"

#include "app/Artwork.h"
#include "app/Desktop.h"
#include "app/FrmGuida.h"
#include "app/FrmInfo.h"
#include "app/FrmSplash.h"
#include "app/Look.h"
#include "app/Maker.h"
#include "app/Widgets.h"

#include <QLabel>
#include <QShortcut>

namespace {
const QColor &kSteelBlue = Look::kSteelBlue;
const char *const kLauncherHelpTitle = "Uno sguardo a Cantorium.";

struct Column
{
    const char *picture;  // resource of the large picture
    int pictureX, barX, noteX;
    const char *name;     // words on the name bar
    const char *note;     // words on the note
};

const Column kSingers = {":/app/cantanti.svg", 44, 16, 65, "ARCHIVIO CANTANTI",
                         "Archivia i dati anagrafici e la foto di ogni cantante e compila la discografia "
                         "elencando i brani del suo repertorio musicale."};
const Column kCreate = {
    ":/app/crea.svg",
    371,
    343,
    392,
    "CREA NUOVA COLLECTION",
    "Crea le tue collection di brani musicali attribuendo a ciascuna un nome di tua scelta "
    "per identificarla nell'elenco discografico."};
const Column kOpen = {":/app/apri.svg", 698, 670, 719, "APRI COLLECTION ESISTENTE",
                      "Apri la collection di tuo interesse e crea le schede di tutte le canzoni che la "
                      "compongono inserendo il testo di ogni brano."};

} // namespace

FrmAvvio::FrmAvvio(const QStringList &helpParagraphs)
    : WorkWindow(QStringLiteral("frmAvvio"), QStringLiteral(" Cantorium"), kSteelBlue, QSize(995, 692))
    , m_help(helpParagraphs)
{
    bkgFoglio = shape(panel(), QStringLiteral("bkgFoglio"), QRect(4, 4, 986, 684), Qt::white,
                      Look::kPaleSteel);
    QWidget *s = bkgFoglio;

    imgIcona =
        new Artwork(s, QStringLiteral("imgIcona"), QStringLiteral(":/app/icona.svg"), QRect(262, 14, 92, 92));
    imgTitolo = new Artwork(s, QStringLiteral("imgTitolo"), QStringLiteral(":/app/titolo.svg"),
                            QRect(362, 20, 370, 80));
    imgSottotitolo = new Artwork(s, QStringLiteral("imgSottotitolo"), QStringLiteral(":/app/sottotitolo.svg"),
                                 QRect(17, 114, 961, 22));

    const QFont nameFont = Look::uiFont(10.5, true);
    const QFont noteFont = Look::uiFont(9, false, true);

    auto column = [&](const Column &c, const QString &suffix, ClickPicture *&img, ClickPicture *&btn,
                      ClickPicture *&app, void (FrmAvvio::*handler)()) {
        img = new ClickPicture(s, QStringLiteral("img") + suffix, QString::fromLatin1(c.picture),
                               QRect(c.pictureX, 148, 258, 248));
        btn = new ClickPicture(s, QStringLiteral("btn") + suffix, QStringLiteral(":/app/barra.svg"),
                               QRect(c.barX, 416, 308, 30));
        wordsOn(btn, QString::fromLatin1(c.name), nameFont, Qt::white, Qt::AlignCenter, QMargins(4, 0, 4, 0));
        app = new ClickPicture(s, QStringLiteral("app") + suffix, QStringLiteral(":/app/nota.svg"),
                               QRect(c.noteX, 468, 215, 127));
        wordsOn(app, QString::fromUtf8(c.note), noteFont, Look::kNoteInk, Qt::AlignCenter,
                QMargins(12, 8, 12, 8));
        // The three controls of a column are one command.
        // The picture of a column opens what its name bar names.
        nameAfter(img, QString::fromLatin1(c.name));
        for (ClickPicture *control : {img, btn, app})
            connect(control, &ClickPicture::clicked, this,
                    [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    column(kSingers, QStringLiteral("Cantanti"), imgCantanti, btnCantanti, appCantanti,
           &FrmAvvio::imgCantantiClick);
    column(kCreate, QStringLiteral("Crea"), imgCrea, btnCrea, appCrea, &FrmAvvio::imgCreaClick);
    column(kOpen, QStringLiteral("Apri"), imgApri, btnApri, appApri, &FrmAvvio::imgApriClick);

    shape(s, QStringLiteral("shpBarra01"), QRect(8, 399, 970, 10), kSteelBlue, QColor(), Qt::white);
    shape(s, QStringLiteral("shpBarra02"), QRect(8, 454, 970, 10), kSteelBlue, QColor(), Qt::white);

    imgSito = new ClickPicture(s, QStringLiteral("imgSito"), QStringLiteral(":/app/produttore.svg"),
                               QRect(17, 628, 961, 22));
    imgInfo = new ClickPicture(s, QStringLiteral("imgInfo"), QStringLiteral(":/app/info.svg"),
                               QRect(14, 14, 30, 30));
    imgGuida = new ClickPicture(s, QStringLiteral("imgGuida"), QStringLiteral(":/app/guida.svg"),
                                QRect(952, 16, 29, 28));
    imgCopyright = new ClickPicture(s, QStringLiteral("imgCopyright"), QStringLiteral(":/app/marchio.svg"),
                                    QRect(16, 660, 23, 22));
    imgEsci = new ClickPicture(s, QStringLiteral("imgEsci"), QStringLiteral(":/app/esci.svg"),
                               QRect(960, 662, 17, 18));
    imgCopia = new ClickPicture(s, QStringLiteral("imgCopia"), QStringLiteral(":/app/copia.svg"),
                                QRect(876, 16, 29, 28));
    imgRipristina = new ClickPicture(s, QStringLiteral("imgRipristina"), QStringLiteral(":/app/ripristina.svg"),
                                     QRect(914, 16, 29, 28));

    const struct {
        ClickPicture *control;
        void (FrmAvvio::*handler)();
        const char *name; // what the picture does, for a screen reader
    } commands[] = {
        {imgSito, &FrmAvvio::imgSitoClick, "Sito web del produttore"},
        {imgInfo, &FrmAvvio::imgInfoClick, "Informazioni su Cantorium"},
        {imgGuida, &FrmAvvio::imgGuidaClick, "Guida"},
        {imgCopyright, &FrmAvvio::imgCopyrightClick, "Produttore del programma"},
        {imgEsci, &FrmAvvio::imgEsciClick, "Esci dal programma"},
    };
    for (const auto &[control, handler, name] : commands) {
        nameAfter(control, QString::fromUtf8(name));
        connect(control, &ClickPicture::clicked, this,
                [this, handler = handler] { guarded([this, handler] { (this->*handler)(); }); });
    }

    // The two backup commands: a hint on the picture and a key of their own.
    const struct {
        ClickPicture *control;
        void (FrmAvvio::*handler)();
        const char *hint;
        const char *keys;
        QKeySequence key;
        const char *keyName;
    } backupCommands[] = {
        {imgCopia, &FrmAvvio::imgCopiaClick, "Copia di sicurezza di tutti gli archivi", "Ctrl+B",
         QKeySequence(Qt::CTRL | Qt::Key_B), "keyCopia"},
        {imgRipristina, &FrmAvvio::imgRipristinaClick, "Ripristina una copia di sicurezza", "Ctrl+R",
         QKeySequence(Qt::CTRL | Qt::Key_R), "keyRipristina"},
    };
    for (const auto &c : backupCommands) {
        const QString hint = QString::fromUtf8(c.hint);
        const QString keys = QString::fromLatin1(c.keys);
        nameAfter(c.control, hint);
        c.control->setToolTip(hint + QStringLiteral(" (") + keys + QLatin1Char(')'));
        c.control->setProperty(ClickPicture::kShortcutProperty, keys);
        auto *shortcut = new QShortcut(c.key, this);
        shortcut->setObjectName(QString::fromLatin1(c.keyName));
        ClickPicture *control = c.control;
        connect(shortcut, &QShortcut::activated, control, [control] { emit control->clicked(); });
        connect(control, &ClickPicture::clicked, this,
                [this, handler = c.handler] { guarded([this, handler] { (this->*handler)(); }); });
    }
}

void FrmAvvio::imgCantantiClick()
{
    emit openSingers();
}

void FrmAvvio::imgCreaClick()
{
    emit openCreate();
}

void FrmAvvio::imgApriClick()
{
    emit openList();
}

void FrmAvvio::imgInfoClick()
{
    FrmInfo window(this);
    desktop().runModal(&window);
}

void FrmAvvio::imgGuidaClick()
{
    FrmGuida::showTopic(this, QString::fromUtf8(kLauncherHelpTitle), FrmGuida::joinParagraphs(m_help));
}

void FrmAvvio::imgCopyrightClick()
{
    FrmSplash window(this);
    desktop().runModal(&window);
}

void FrmAvvio::imgSitoClick()
{
    desktop().open(QString::fromLatin1(Maker::kWebAddress));
}

void FrmAvvio::imgEsciClick()
{
    emit exitRequested();
}

void FrmAvvio::imgCopiaClick()
{
    emit backupRequested();
}

void FrmAvvio::imgRipristinaClick()
{
    emit restoreRequested();
}
