#include "collections/FrmCollection.h"

FrmCollection::FrmCollection()
    : WorkWindow(QStringLiteral("frmCollection"), QStringLiteral(" Cantorium - Collection Musicale"), QColor(0x46, 0x82, 0xB4))
{
}

void FrmCollection::openCollection(const QString &, const QString &) {}
