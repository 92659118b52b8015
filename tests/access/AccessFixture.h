#pragma once

// Helpers shared by the access-control tests: finding controls, typing, and a guard that
// makes every file write of this process fail.

#include "FileSizeLimit.h"
#include "access/Crypt.h"
#include "access/LoginDelay.h"
#include "access/PasswordStore.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

template <typename T = QWidget> T *control(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("control %s not found", name);
    return found;
}

// Checks that a control lies on the window's panel at its place (only its position when the
// geometry has no size) and shows its text; buttons show a hand cursor, the logo a picture.
// Returns the control, or null after a failure has been recorded.
inline QWidget *verifyPlacement(QWidget *window, const QString &name, const QRect &geometry,
                                const QString &text)
{
    QWidget *panel = control(window, "panContainer");
    auto *w = panel->findChild<QWidget *>(name);
    if (!QTest::qVerify(w != nullptr, "w", qPrintable(name), __FILE__, __LINE__))
        return nullptr;
    [&] {
        QCOMPARE(w->parentWidget(), panel);
        if (geometry.width() < 0)
            QCOMPARE(w->pos(), geometry.topLeft());
        else
            QCOMPARE(w->geometry(), geometry);
        if (auto *label = qobject_cast<QLabel *>(w); label && !text.isEmpty())
            QCOMPARE(label->text(), text);
        if (auto *button = qobject_cast<QPushButton *>(w)) {
            QCOMPARE(button->text(), text);
            QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
        }
        if (name == QLatin1String("imgLogo"))
            QVERIFY(!static_cast<QLabel *>(w)->pixmap().isNull());
    }();
    return QTest::currentTestFailed() ? nullptr : w;
}

// Shows a whole-run window and makes it the active one, so that focus is real.
inline bool showActive(QWidget *window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// The wait after wrong passwords, out of the way of tests about something else: the count
// starts afresh and an hour passes between any two looks at the clock.
inline void noWaitBetweenTries()
{
    LoginDelay::succeeded();
    LoginDelay::setClock([] {
        static qint64 now = 0;
        return now += 3600 * 1000;
    });
}

inline QByteArray storeBytes()
{
    QFile f(PasswordStore::path());
    if (!f.exists())
        return QByteArray("<missing>");
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return f.readAll();
}

inline void putStore(const QByteArray &bytes)
{
    QFile f(PasswordStore::path());
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot prepare the store");
}

// A store holding `password` scrambled exactly as given (no canonical form applied).
inline void putStoredPassword(const QString &password)
{
    putStore("[Accesso]\r\nValore=" + Crypt::Scramble(password).toLatin1() + "\r\n");
}

// Types into a field as the user would: focus, then one key press and release per character
// (accented and other non-ASCII letters too, which QTest::keyClicks cannot send).
inline void type(QLineEdit *field, const QString &text)
{
    field->setFocus(Qt::MouseFocusReason);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        // A character beyond U+FFFF arrives as one key event holding its surrogate pair.
        const qsizetype units = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const Qt::Key key = u >= 0x20 && u <= 0xFF ? Qt::Key(QChar::toUpper(u)) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, field, key, text.mid(i, units), Qt::NoModifier);
        i += units - 1;
    }
}

inline void pressEnter(QWidget *field)
{
    QTest::keyClick(field, Qt::Key_Return);
}

inline void click(QPushButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// While alive, no file of this process can grow beyond a few bytes: the kernel refuses the
// write (even to root), so saving the store fails for real.
class FileWritesFail : public FileSizeLimit
{
public:
    FileWritesFail()
        : FileSizeLimit(4)
    {
    }
};
