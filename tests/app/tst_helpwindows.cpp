#include "RecordingDesktop.h"

#include "app/FrmGuida.h"
#include "app/FrmInfo.h"
#include "app/FrmSplash.h"
#include "app/Maker.h"
#include "app/TextLink.h"
#include "app/Widgets.h"
#include "core/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <functional>
#include <memory>

namespace {

// A fresh help, about or maker window by object name.
std::unique_ptr<FixedDialog> makeWindow(const QString &name)
{
    if (name == QLatin1String("frmGuida"))
        return std::make_unique<FrmGuida>();
    if (name == QLatin1String("frmInfo"))
        return std::make_unique<FrmInfo>();
    return std::make_unique<FrmSplash>();
}

const char *const kMail = "\"mailto:aiuto@cantorium.example?subject=Software Cantorium&body=Salve, "
                          "desidererei avere le seguenti informazioni sul software in oggetto:\"";

} // namespace

class TstHelpWindows : public QObject
{
    Q_OBJECT

private slots:
    void joinParagraphs_data()
    {
        QTest::addColumn<QStringList>("paragraphs");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << QStringList() << "";
        QTest::newRow("one") << QStringList{"Solo."} << "Solo.";
        QTest::newRow("three") << QStringList{"Uno.", "Due.", "Tre."} << "Uno.\r\n\r\nDue.\r\n\r\nTre.";
        QTest::newRow("blanks kept") << QStringList{" a ", "b"} << " a \r\n\r\nb";
    }

    void joinParagraphs()
    {
        QFETCH(QStringList, paragraphs);
        QFETCH(QString, text);
        QCOMPARE(FrmGuida::joinParagraphs(paragraphs), text);
    }

    void showTopicFillsAFreshWindow()
    {
        RecordingDesktop desk;
        TempProgramFolder folder;
        const QString text = FrmGuida::joinParagraphs({"Primo paragrafo.", "Secondo paragrafo."});
        for (int round = 0; round < 2; ++round) {
            QPointer<QDialog> window;
            desk.modalHandlers.enqueue([&](QDialog *d) {
                auto *g = qobject_cast<FrmGuida *>(d);
                QVERIFY(g);
                window = d;
                QCOMPARE(g->windowTitle(), QStringLiteral(" Guida all'utilizzo del software"));
                QCOMPARE(g->lblTitolo->text(), QStringLiteral("Applicazione Collection Musicale."));
                QCOMPARE(g->helpText(), text);
                QCOMPARE(g->txtGuida->toPlainText(),
                         QStringLiteral("Primo paragrafo.\n\nSecondo paragrafo."));
                QCOMPARE(g->lnkWeb->colour(), TextLink::kNormal);
                // Leave the link pressed: the next opening must not inherit it.
                QTest::mousePress(g->lnkWeb, Qt::LeftButton);
                QTest::mouseClick(g->btnChiudi, Qt::LeftButton);
            });
            FrmGuida::showTopic(nullptr, QStringLiteral("Applicazione Collection Musicale."), text);
            QVERIFY2(window.isNull(), "the help window outlives its use");
        }
        QVERIFY(desk.opened.isEmpty());
        VERIFY_DESKTOP_CLEAN(desk);
    }

    void helpTextCannotBeChanged()
    {
        FrmGuida g;
        g.setTopic(QStringLiteral("Titolo."), QStringLiteral("Testo fisso."));
        g.show();
        QVERIFY(g.txtGuida->isReadOnly());
        g.txtGuida->setFocus();
        g.txtGuida->moveCursor(QTextCursor::End);
        QTest::keyClicks(g.txtGuida, QStringLiteral("abc"));
        QTest::keyClick(g.txtGuida, Qt::Key_Backspace);
        QTest::keyClick(g.txtGuida, Qt::Key_Return);
        QCOMPARE(g.txtGuida->toPlainText(), QStringLiteral("Testo fisso."));
        QCOMPARE(g.helpText(), QStringLiteral("Testo fisso."));
    }

    void helpWindowHasItsOuterSize()
    {
        FrmGuida g;
        g.show();
        QCOMPARE(g.frameGeometry().size(), QSize(676, 598));
        // The panel stays centred in whatever client area the frame leaves.
        const QWidget *panel = g.findChild<QWidget *>(QStringLiteral("panContainer"));
        QVERIFY(panel);
        QCOMPARE(panel->geometry().center().x(), g.rect().center().x());
        QVERIFY(qAbs(panel->geometry().center().y() - g.rect().center().y()) <= 1);
    }

    // Pressing the text or its picture turns the link orange, releasing turns it dark blue,
    // a click opens the window's target exactly as the shell expects it.
    void links_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<bool>("onPicture");
        QTest::addColumn<QString>("expected"); // "<folder>" stands for the program folder
        const QString pdf = QStringLiteral("\"<folder>Guida.pdf\"");
        QTest::newRow("help text") << "frmGuida" << "imgPDF" << false << pdf;
        QTest::newRow("help picture") << "frmGuida" << "imgPDF" << true << pdf;
        QTest::newRow("about text") << "frmInfo" << "imgEmail" << false << QString::fromLatin1(kMail);
        QTest::newRow("about picture") << "frmInfo" << "imgEmail" << true << QString::fromLatin1(kMail);
        QTest::newRow("maker text") << "frmSplash"
                                    << "imgWeb" << false << "https://www.cantorium.example.org";
        QTest::newRow("maker picture") << "frmSplash"
                                       << "imgWeb" << true << "https://www.cantorium.example.org";
    }

    void links()
    {
        QFETCH(QString, window);
        QFETCH(QString, picture);
        QFETCH(bool, onPicture);
        QFETCH(QString, expected);
        RecordingDesktop desk;
        TempProgramFolder folder;
        expected.replace(QLatin1String("<folder>"), folder.path());

        auto w = makeWindow(window);
        w->show();
        auto *link = w->findChild<TextLink *>(QStringLiteral("lnkWeb"));
        auto *pic = w->findChild<ClickPicture *>(picture);
        QVERIFY(link);
        QVERIFY(pic);
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(pic->cursor().shape(), Qt::PointingHandCursor);
        QWidget *target = onPicture ? static_cast<QWidget *>(pic) : link;

        QCOMPARE(link->colour(), TextLink::kNormal);
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor::fromRgba(0xFF00008B));
        QTest::mousePress(target, Qt::LeftButton);
        QCOMPARE(link->colour(), QColor::fromRgba(0xFFFFA500));
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor::fromRgba(0xFFFFA500));
        QVERIFY(desk.opened.isEmpty());
        QTest::mouseRelease(target, Qt::LeftButton);
        QCOMPARE(link->colour(), TextLink::kNormal);
        QCOMPARE(desk.opened, QStringList{expected});

        // Released away from the link: dark blue again, and nothing is opened.
        desk.opened.clear();
        QTest::mousePress(target, Qt::LeftButton);
        QTest::mouseRelease(target, Qt::LeftButton, {}, QPoint(-20, -20));
        QCOMPARE(link->colour(), TextLink::kNormal);
        QVERIFY(desk.opened.isEmpty());

        QVERIFY(w->isVisible()); // following a link never closes the window
        QVERIFY(desk.messages.isEmpty());
        VERIFY_DESKTOP_CLEAN(desk);
    }

    void linkShowsItsTarget_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("text");
        QTest::newRow("help") << "frmGuida" << "Visualizza guida in formato PDF";
        QTest::newRow("about") << "frmInfo"
                               << "aiuto@cantorium.example";
        QTest::newRow("maker") << "frmSplash" << "https://www.cantorium.example.org";
    }

    void linkShowsItsTarget()
    {
        QFETCH(QString, window);
        QFETCH(QString, text);
        auto w = makeWindow(window);
        auto *link = w->findChild<TextLink *>(QStringLiteral("lnkWeb"));
        QVERIFY(link);
        QCOMPARE(link->text(), text);
        QVERIFY(link->font().underline());
    }

    // The about window names the data folder, whichever it is, so that a user finds his archives.
    void aboutWindowShowsTheDataFolder_data()
    {
        QTest::addColumn<QString>("sub"); // the data folder, under a temporary folder
        QTest::newRow("program folder") << "Cantorium";
        QTest::newRow("user folder, long path")
            << "home/utente con spazi/.local/share/una cartella dal nome piuttosto lungo/Cantorium";
        QTest::newRow("markup in the name") << "a<b>&c";
    }

    void aboutWindowShowsTheDataFolder()
    {
        QFETCH(QString, sub);
        QTemporaryDir root;
        const QString folder = root.filePath(sub);
        QVERIFY(QDir().mkpath(folder));
        ProgramFolder::setOverride(folder);
        FrmInfo w;
        ProgramFolder::setOverride(QString());
        auto *details = w.findChild<QLabel *>(QStringLiteral("lblDettagli"));
        QVERIFY(details);
        // What the user reads: the label's text as a document shows it, wrap points removed.
        QTextDocument shown;
        shown.setHtml(details->text());
        QString text = shown.toPlainText();
        text.remove(QChar(0x200B));
        QVERIFY2(text.contains(QDir::toNativeSeparators(folder + QLatin1Char('/'))), qPrintable(text));
        // A long path wraps instead of running out of the panel.
        w.show();
        QVERIFY(details->heightForWidth(details->width()) <= details->height());
    }

    // No program opens PDF documents: the user is told so and pointed to the built-in help,
    // instead of a click that does nothing.
    void pdfLinkWithoutAViewer()
    {
        RecordingDesktop desk;
        TempProgramFolder folder;
        desk.pdfViewer = false;
        FrmGuida w;
        w.show();
        QTest::mouseClick(w.findChild<TextLink *>(QStringLiteral("lnkWeb")), Qt::LeftButton);
        QVERIFY(desk.opened.isEmpty());
        QCOMPARE(desk.texts(), QStringList{FrmGuida::kNoPdfViewer});
        QCOMPARE(desk.last().kind, Desktop::Kind::Warning);
        QVERIFY(FrmGuida::kNoPdfViewer.contains(QStringLiteral("F1")));
        QVERIFY(w.isVisible());
    }

    // The real question to the desktop: with no xdg-mime to ask, no viewer is assumed.
    void realDesktopAsksForAPdfViewer()
    {
        installDesktop(nullptr);
        QTemporaryDir empty;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(empty.path()));
        const bool found = desktop().opensPdf();
        qputenv("PATH", path);
        QVERIFY(!found);
    }

    // The help reads as plain paragraphs, the about window's address stays clear of Chiudi.
    void lookOfTheHelpAndAboutWindows()
    {
        RecordingDesktop desk;
        FrmGuida g;
        QVERIFY(!g.txtGuida->font().bold());
        FrmInfo info;
        info.show();
        auto *link = info.findChild<TextLink *>(QStringLiteral("lnkWeb"));
        auto *picture = info.findChild<ClickPicture *>(QStringLiteral("imgEmail"));
        auto *close = info.findChild<QPushButton *>(QStringLiteral("btnChiudi"));
        QVERIFY(link && picture && close);
        QVERIFY(!link->geometry().intersects(close->geometry()));
        QVERIFY(!picture->geometry().intersects(close->geometry()));
        QVERIFY(info.rect().contains(close->geometry()));
        QVERIFY(info.rect().contains(link->geometry()));
    }

    // An installed copy finds its guide in the shared folder beside bin.
    void helpOpensTheInstalledGuide()
    {
        RecordingDesktop desk;
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("usr/bin")));
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("usr/share/cantorium")));
        QFile guide(root.filePath(QStringLiteral("usr/share/cantorium/Guida.pdf")));
        QVERIFY(guide.open(QIODevice::WriteOnly));
        guide.close();
        ProgramFolder::setOverride(root.filePath(QStringLiteral("usr/bin")));
        FrmGuida w;
        w.show();
        QTest::mouseClick(w.findChild<TextLink *>(QStringLiteral("lnkWeb")), Qt::LeftButton);
        ProgramFolder::setOverride(QString());
        QCOMPARE(desk.opened, QStringList{QLatin1Char('"') + guide.fileName() + QLatin1Char('"')});
        VERIFY_DESKTOP_CLEAN(desk);
    }

    void chiudiClosesTheWindow_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("title");
        QTest::newRow("help") << "frmGuida" << " Guida all'utilizzo del software";
        QTest::newRow("about") << "frmInfo" << " Informazioni su Cantorium";
        QTest::newRow("maker") << "frmSplash" << " Cantorium - Cantorium Lab";
    }

    void chiudiClosesTheWindow()
    {
        QFETCH(QString, window);
        QFETCH(QString, title);
        RecordingDesktop desk;
        auto w = makeWindow(window);
        QCOMPARE(w->windowTitle(), title);
        bool closed = false;
        desk.modalHandlers.enqueue([&](QDialog *d) {
            auto *button = d->findChild<QPushButton *>(QStringLiteral("btnChiudi"));
            QVERIFY(button);
            QCOMPARE(button->text(), QStringLiteral("Chiudi"));
            QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
            // Esc does not close these windows; only their own button does.
            QTest::keyClick(d, Qt::Key_Escape);
            QVERIFY(d->isVisible());
            QTest::mouseClick(button, Qt::LeftButton);
            closed = !d->isVisible();
        });
        desktop().runModal(w.get());
        QVERIFY(closed);
        VERIFY_DESKTOP_CLEAN(desk);
    }
};

QTEST_MAIN(TstHelpWindows)
#include "tst_helpwindows.moc"
