#pragma once

#include <QString>

#include <array>

// The three attachment slots of a card as an editor holds them: bare file names in the folder
// Documenti_Allegati and a description each (card fields File01-File03, Desc01-Desc03).
struct Attachments {
    std::array<QString, 3> file;
    std::array<QString, 3> desc;

    bool operator==(const Attachments &other) const { return file == other.file && desc == other.desc; }
};
