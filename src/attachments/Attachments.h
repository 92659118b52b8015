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
// The name under which a picked file is copied and stored: the card keeps it exactly, so a
// character that Windows-1252 lacks becomes its plain letter ("Łódź" -> "Lódz") or '_', and
// so does a folder separator ('\\' would split the name when the card is opened); trimmed as
// the card keeps it. Empty when nothing usable is left (no character, or only dots).
QString storableName(const QString &pickedName);
// A name like `name` ("Lódz (2).txt") that no entry of the folder has yet, within `capacity`
// Windows-1252 bytes; empty when there is none.
QString unusedName(const QString &name, int capacity);
} // namespace AttachmentFolder
