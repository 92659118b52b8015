// Prepares the program folder's password store for a fresh installation: the first access
// uses the password "benvenutoprimo". An existing store is never touched, so that a rebuild
// or a reinstallation over a running copy keeps the password the user chose. The program
// writes the same store into the user's data folder at its first start (PasswordStore).

#include "access/PasswordStore.h"

#include <QString>

#include <cstdio>
#include <exception>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_store <path of unins000.dll>\n");
        return 2;
    }
    try {
        PasswordStore::writeFirstAccess(QString::fromLocal8Bit(argv[1]));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "make_store: cannot prepare %s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
