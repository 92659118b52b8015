#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// Replaces a file's whole content with the given bytes (a hand-made fixture).
inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(content), content.size());
}

// The file's bytes, or nothing when it cannot be read.
inline QByteArray fileContent(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}
