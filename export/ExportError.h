#pragma once

#include <QString>

#include <stdexcept>

// Errors of the spreadsheet export. The message is Spanish and meant for the operator.
class ExportError : public std::runtime_error {
public:
    explicit ExportError(const QString &message) : std::runtime_error(message.toStdString()) {}

    QString message() const { return QString::fromUtf8(what()); }
};

// A value that cannot become the kind of cell asked for; nothing of that cell was written.
class ValueConversionError : public ExportError {
public:
    using ExportError::ExportError;
};

// The stream refused bytes (disk full, closed device); the file is incomplete.
class StreamWriteError : public ExportError {
public:
    using ExportError::ExportError;
};
