#pragma once

#include "app/CardAttachments.h"

#include <QString>

namespace AttachmentFolder
{
// The program folder's Documenti_Allegati, with its trailing separator.
QString path();
// Where a stored name is opened: its last path component inside the folder, so that a name made
// elsewhere ("..\x", "C:/y/x") never leads outside it. Empty for a name that has no file part.
QString fileFor(const QString &storedName);
} // namespace AttachmentFolder
