#pragma once

#include "output/ExportWindow.h"

// Export of the open collection to Collection.xls.
class FrmExpCollection : public ExportWindow
{
    Q_OBJECT
public:
    // `collectionPath` is the song editor's lblFile, trimmed.
    FrmExpCollection(QWidget *owner, const QString &collectionPath);
};
