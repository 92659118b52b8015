#pragma once

#include <QString>

#include <stdexcept>

// The one error type of every file access of the program; what() is the platform's description.
class FileError : public std::runtime_error
{
public:
    explicit FileError(const QString &description)
        : std::runtime_error(description.toStdString())
    {
    }
    QString description() const { return QString::fromStdString(what()); }
};
