#pragma once
// Little-endian building and bounds-checked reading of binary file structures (Word documents,
// cursor files). Every read of file data goes through ByteReader, so damaged data can only ever
// end in base::Failure, never in a read outside the buffer.
#include <QByteArray>
#include <QString>

#include <cstdint>

namespace base {

class ByteWriter {
public:
    void u8(unsigned value) { m_data.append(char(value & 0xFF)); }
    void u16(unsigned value);
    void u32(std::uint32_t value);
    void i16(int value) { u16(unsigned(value) & 0xFFFF); }
    void i32(std::int32_t value) { u32(std::uint32_t(value)); }
    void bytes(const QByteArray &data) { m_data.append(data); }
    void zeros(qsizetype count) { m_data.append(count, '\0'); }
    void padTo(qsizetype size);       // zero-fill up to size
    void alignTo(qsizetype multiple); // zero-fill up to the next multiple
    void patchU16(qsizetype at, unsigned value);
    void patchU32(qsizetype at, std::uint32_t value);
    qsizetype size() const { return m_data.size(); }
    const QByteArray &data() const { return m_data; }

private:
    QByteArray m_data;
};

class ByteReader {
public:
    // `outOfRange` is the description of the Failure thrown by a read outside the data.
    ByteReader(QByteArray data, QString outOfRange);
    std::uint8_t u8(qint64 at) const;
    std::uint16_t u16(qint64 at) const;
    std::uint32_t u32(qint64 at) const;
    std::int16_t i16(qint64 at) const { return std::int16_t(u16(at)); }
    std::int32_t i32(qint64 at) const { return std::int32_t(u32(at)); }
    QByteArray slice(qint64 at, qint64 length) const;
    // Whether [at, at + length) lies inside the data.
    bool contains(qint64 at, qint64 length) const;
    // Throws unless it does.
    void require(qint64 at, qint64 length) const;
    qint64 size() const { return m_data.size(); }
    const QByteArray &data() const { return m_data; }

private:
    QByteArray m_data;
    QString m_outOfRange;
};

} // namespace base
