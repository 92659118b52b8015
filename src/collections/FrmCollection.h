#pragma once

#include "app/Windows.h"

class FrmCollection : public WorkWindow
{
    Q_OBJECT
public:
    FrmCollection();
    // Sets lblFile and the collection name shown in the title bar.
    void openCollection(const QString &path, const QString &name);
};
