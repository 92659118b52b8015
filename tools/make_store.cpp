// Prepares the program folder's password store for a fresh installation: the first access
// uses the password "benvenutoprimo". An existing store is never touched, so that a rebuild
// or a reinstallation over a running copy keeps the password the user chose.

#include "access/PasswordStore.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <exception>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_store <path of unins000.dll>\n");
        return 2;
    }
    const QString target = QString::fromLocal8Bit(argv[1]);
    const QFileInfo info(target);
    if (info.exists() || info.isSymLink()) {
        if (info.isFile())
            return 0;
        std::fprintf(stderr, "make_store: %s exists and is not a regular file\n", argv[1]);
        return 1;
    }
    try {
        if (!QDir().mkpath(info.absolutePath())) {
            std::fprintf(stderr, "make_store: cannot create the folder of %s\n", argv[1]);
            return 1;
        }
        PasswordStore::writeFile(target, QStringLiteral("benvenutoprimo"));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "make_store: cannot write %s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
