// Replaced by the user-guide work: renders Guida.md to Guida.pdf.
#include <QFile>
int main(int argc, char **argv) { QFile f(argv[2]); f.open(QIODevice::WriteOnly); return argc == 3 ? 0 : 1; }
