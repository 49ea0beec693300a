#include "Bytes.h"

#include "Failure.h"

namespace base {

void ByteWriter::u16(unsigned value)
{
    u8(value);
    u8(value >> 8);
}

void ByteWriter::u32(std::uint32_t value)
{
    u16(value & 0xFFFF);
    u16(value >> 16);
}

void ByteWriter::padTo(qsizetype size)
{
    if (m_data.size() < size)
        zeros(size - m_data.size());
}

void ByteWriter::alignTo(qsizetype multiple)
{
    const qsizetype rest = m_data.size() % multiple;
    if (rest != 0)
        zeros(multiple - rest);
}

void ByteWriter::patchU16(qsizetype at, unsigned value)
{
    m_data[at] = char(value & 0xFF);
    m_data[at + 1] = char((value >> 8) & 0xFF);
}

void ByteWriter::patchU32(qsizetype at, std::uint32_t value)
{
    patchU16(at, value & 0xFFFF);
    patchU16(at + 2, value >> 16);
}

ByteReader::ByteReader(QByteArray data, QString outOfRange)
    : m_data(std::move(data)), m_outOfRange(std::move(outOfRange))
{
}

bool ByteReader::contains(qint64 at, qint64 length) const
{
    return at >= 0 && length >= 0 && at <= m_data.size() && length <= m_data.size() - at;
}

void ByteReader::require(qint64 at, qint64 length) const
{
    if (!contains(at, length))
        throw Failure(m_outOfRange);
}

std::uint8_t ByteReader::u8(qint64 at) const
{
    require(at, 1);
    return std::uint8_t(m_data[at]);
}

std::uint16_t ByteReader::u16(qint64 at) const
{
    require(at, 2);
    return std::uint16_t(std::uint8_t(m_data[at]) | (std::uint8_t(m_data[at + 1]) << 8));
}

std::uint32_t ByteReader::u32(qint64 at) const
{
    require(at, 4);
    return std::uint32_t(u16(at)) | (std::uint32_t(u16(at + 2)) << 16);
}

QByteArray ByteReader::slice(qint64 at, qint64 length) const
{
    require(at, length);
    return m_data.mid(at, length);
}

} // namespace base
