#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtEndian>

#include <cstring>

// Splits what a writer produced back into records, to check an export's structure without
// spelling out every byte.
namespace BiffReader {

struct Record {
    quint16 id = 0;
    QByteArray data;

    quint16 word(int offset) const { return qFromLittleEndian<quint16>(data.constData() + offset); }
    // Cell records: row, column and the three attribute bytes.
    int row() const { return word(0); }
    int column() const { return word(2); }
    QByteArray attributes() const { return data.mid(4, 3); }
    QString label() const { return QString::fromLatin1(data.mid(8, quint8(data.at(7)))); }
    double value() const
    {
        double value = 0;
        std::memcpy(&value, data.constData() + 7, sizeof value);
        return value;
    }
};

// The records in order; a trailing fragment (a torn record) is returned with number 0xFFFF.
inline QList<Record> split(const QByteArray &bytes)
{
    QList<Record> records;
    qsizetype at = 0;
    while (at + 4 <= bytes.size()) {
        const quint16 number = qFromLittleEndian<quint16>(bytes.constData() + at);
        const quint16 length = qFromLittleEndian<quint16>(bytes.constData() + at + 2);
        if (at + 4 + length > bytes.size())
            break;
        records.append({number, bytes.mid(at + 4, length)});
        at += 4 + length;
    }
    if (at < bytes.size())
        records.append({0xFFFF, bytes.mid(at)});
    return records;
}

} // namespace BiffReader
