#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

// The shop's own header for tickets (MemTik.txt) and its logo for receipts (Logo.bmp). Both are
// looked for in the user folder, then in the working folder, their names matched without regard
// to case, so "MemTik.txt" and "Memtik.txt" are always the same file.
namespace sales::ticketheader {

// The lines a ticket carries when the shop has no header file.
QStringList builtInLines();

// The header file in a folder: the existing file whatever the case of its name, or the plain
// name when there is none.
QString fileIn(const QString &folder);

// The lines of the header file in the user folder, else in the working folder; nullopt when
// neither can be read.
std::optional<QStringList> read();
// The lines of the header file in one folder; nullopt when it cannot be read.
std::optional<QStringList> readFrom(const QString &folder);
// Replaces the header file in a folder (the existing one whatever its case) with the lines.
// False when it cannot be written; nothing is half written.
bool writeTo(const QString &folder, const QStringList &lines);

// The logo from the user folder, else from the working folder; nullopt when neither loads.
std::optional<QImage> logo();

} // namespace sales::ticketheader
