#pragma once

#include <QByteArray>
#include <QStringView>

// Text for spreadsheet files is single-byte Windows-1252 (the code page of the shop's Spanish
// text). A character the code page lacks becomes "?", one per character, so the length in
// characters stays the length in bytes.
namespace Windows1252 {

// Encodes at most maxCharacters characters of text; the rest is cut off.
QByteArray fromUnicode(QStringView text, qsizetype maxCharacters);
// The same into `out`, which has room for maxCharacters bytes; returns the bytes written.
qsizetype encode(QStringView text, char *out, qsizetype maxCharacters);

} // namespace Windows1252
