#pragma once

#include <QObject>
#include <QString>
#include <QtTest/QTest>

// The control called `name` inside `window`, as a test drives a window: by object name. A
// missing control fails the test where it is asked for.
template <typename T = QWidget> T *named(const QObject *window, const char *name)
{
    T *control = window->findChild<T *>(QString::fromLatin1(name));
    if (!control)
        qFatal("no control %s of the expected type in %s", name, qPrintable(window->objectName()));
    return control;
}
