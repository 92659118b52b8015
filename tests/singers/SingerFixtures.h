#pragma once

// Small helpers shared by the singer tests: archives and photos made by hand, and a way to
// drive the editor by the names of its controls.
#include "app/Widgets.h"
#include "singers/FrmAnagrafica.h"
#include "records/SingerCard.h"
#include "records/SingerPhoto.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QtTest>

namespace fixtures
{

inline SingerCard singer(const QString &nome, const QString &sesso = QStringLiteral("F"),
                         const QString &cittadinanza = QStringLiteral("Italiana"),
                         const QString &estremi = QStringLiteral("Una canzone"))
{
    SingerCard card;
    card.setText(SingerCard::Nome, nome);
    card.setText(SingerCard::Sesso, sesso);
    card.setText(SingerCard::Cittadinanza, cittadinanza);
    card.setText(SingerCard::Estremi, estremi);
    return card;
}

// An archive holding cards named "Cantante 1" ... "Cantante n".
inline void writeArchive(int n)
{
    QByteArray all;
    for (int i = 1; i <= n; ++i)
        all += singer(QStringLiteral("Cantante %1").arg(i)).encode();
    QFile f(SingerArchive::path());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(all), all.size());
}

// Brings `editor` to the card at position `p` (empty: a new card) by showing a stored card; the
// archive is left as it was found (a file, a folder in its place, or nothing).
template <class Editor> void showPosition(Editor &editor, const QString &p)
{
    if (p.isEmpty()) {
        editor.cmdNuovoClick();
        return;
    }
    const QString path = SingerArchive::path();
    const bool folder = QFileInfo(path).isDir();
    QByteArray kept;
    const bool file = QFileInfo(path).isFile();
    if (file) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        kept = f.readAll();
    }
    if (folder)
        QDir(path).removeRecursively();
    writeArchive(p.toInt());
    editor.showStoredCard(p.toInt());
    QFile::remove(path);
    if (folder)
        QDir().mkpath(path);
    if (file) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(kept);
    }
}

inline QByteArray archiveBytes()
{
    QFile f(SingerArchive::path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A plain picture whose size tells which one it is.
inline QImage picture(const QSize &size, const QColor &colour = QColor(200, 40, 40))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

inline void writeImage(const QString &path, const QImage &image, const char *format)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY2(image.save(path, format), qPrintable(path));
}

inline QImage readImage(const QString &path)
{
    QImage image;
    image.load(path);
    return image;
}

// Mean absolute difference of two pictures of the same size, per channel, 0-255.
inline double difference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return 255;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); row += 3)
        for (int col = 0; col < x.width(); col += 3) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
        }
    const double samples = double((x.height() + 2) / 3) * ((x.width() + 2) / 3) * 3;
    return sum / samples;
}

// True when `image` is a JPEG copy of the editor's placeholder picture.
inline bool isPlaceholder(const QImage &image)
{
    return image.size() == SingerPhoto::placeholder().size() &&
           difference(image, SingerPhoto::placeholder()) < 6;
}

inline void click(QWidget *window, const char *name)
{
    auto *control = window->findChild<ClickPicture *>(QLatin1String(name));
    QVERIFY2(control, name);
    QTest::mouseClick(control, Qt::LeftButton);
}

inline QLineEdit *field(QWidget *window, const char *name)
{
    auto *f = window->findChild<QLineEdit *>(QLatin1String(name));
    if (!f)
        qFatal("no field %s", name);
    return f;
}

inline QString position(QWidget *window)
{
    return stateOf(window->findChild<QLabel *>(QStringLiteral("lblPosizione")));
}

// Remembers the geometry a top-level window of the given name had when it was shown.
class ShowWatcher : public QObject
{
public:
    explicit ShowWatcher(const QString &name)
        : m_name(name)
    {
        qApp->installEventFilter(this);
    }
    QRect atShow;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == m_name && watched->isWidgetType())
            atShow = static_cast<QWidget *>(watched)->geometry();
        return false;
    }

private:
    QString m_name;
};

} // namespace fixtures
