#pragma once

#include "export/Windows1252.h"

#include <QByteArrayView>
#include <QtEndian>

#include <array>
#include <bit>
#include <cstring>

// One BIFF record being composed: record number, data length and data, little-endian. The
// largest record the writer makes (a LABEL of 255 characters) is 267 bytes, so it is built
// in place without allocating.
class BiffRecord {
public:
    explicit BiffRecord(quint16 number)
    {
        putWord(0, number);
        m_size = headerSize;
    }

    void addByte(quint8 value)
    {
        checkRoom(1);
        m_bytes[m_size++] = static_cast<char>(value);
    }
    void addWord(quint16 value)
    {
        checkRoom(2);
        putWord(m_size, value);
        m_size += 2;
    }
    void addDouble(double value)
    {
        checkRoom(sizeof(quint64));
        const quint64 bits = qToLittleEndian(std::bit_cast<quint64>(value));
        std::memcpy(m_bytes.data() + m_size, &bits, sizeof bits);
        m_size += sizeof bits;
    }
    void addBytes(QByteArrayView bytes)
    {
        checkRoom(static_cast<std::size_t>(bytes.size()));
        std::memcpy(m_bytes.data() + m_size, bytes.data(), static_cast<std::size_t>(bytes.size()));
        m_size += static_cast<std::size_t>(bytes.size());
    }

    // A one-byte length and the text in Windows-1252, cut to maxCharacters (at most 255).
    void addShortText(QStringView text, qsizetype maxCharacters)
    {
        Q_ASSERT(maxCharacters <= 0xFF);
        checkRoom(1 + static_cast<std::size_t>(qMin(text.size(), maxCharacters)));
        const qsizetype length = Windows1252::encode(text, m_bytes.data() + m_size + 1, maxCharacters);
        m_bytes[m_size] = static_cast<char>(length);
        m_size += 1 + static_cast<std::size_t>(length);
    }

    // The whole record, its length field set from the data added.
    QByteArrayView bytes()
    {
        putWord(2, static_cast<quint16>(m_size - headerSize));
        return QByteArrayView(m_bytes.data(), static_cast<qsizetype>(m_size));
    }

private:
    static constexpr std::size_t headerSize = 4;

    void checkRoom(std::size_t count) const { Q_ASSERT(m_size + count <= m_bytes.size()); }

    void putWord(std::size_t offset, quint16 value)
    {
        m_bytes[offset] = static_cast<char>(value & 0xFF);
        m_bytes[offset + 1] = static_cast<char>(value >> 8);
    }

    // Only the bytes added are ever read: no need to clear the rest for every record.
    std::array<char, 272> m_bytes;
    std::size_t m_size = 0;
};
