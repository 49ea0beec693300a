#pragma once
// Little-endian building and bounds-checked reading of the byte structures of a .doc file.
// Every read of file data goes through ByteReader, so a damaged file can only ever end in
// shell::AppError, never in a read outside the buffer.
#include <QByteArray>
#include <QString>

#include <cstdint>

namespace wordproc::doc {

class ByteWriter {
public:
    void u8(unsigned value) { m_data.append(char(value & 0xFF)); }
    void u16(unsigned value);
    void u32(std::uint32_t value);
    void i16(int value) { u16(unsigned(value) & 0xFFFF); }
    void i32(std::int32_t value) { u32(std::uint32_t(value)); }
    void bytes(const QByteArray &data) { m_data.append(data); }
    void zeros(qsizetype count) { m_data.append(count, '\0'); }
    void padTo(qsizetype size);          // zero-fill up to size
    void alignTo(qsizetype multiple);    // zero-fill up to the next multiple
    void patchU16(qsizetype at, unsigned value);
    void patchU32(qsizetype at, std::uint32_t value);
    qsizetype size() const { return m_data.size(); }
    const QByteArray &data() const { return m_data; }

private:
    QByteArray m_data;
};

class ByteReader {
public:
    // streamName names the data in error messages ("the WordDocument stream").
    ByteReader(QByteArray data, QString streamName);
    std::uint8_t u8(qint64 at) const;
    std::uint16_t u16(qint64 at) const;
    std::uint32_t u32(qint64 at) const;
    std::int16_t i16(qint64 at) const { return std::int16_t(u16(at)); }
    std::int32_t i32(qint64 at) const { return std::int32_t(u32(at)); }
    QByteArray slice(qint64 at, qint64 length) const;
    // Throws unless [at, at + length) lies inside the data.
    void require(qint64 at, qint64 length) const;
    qint64 size() const { return m_data.size(); }
    const QByteArray &data() const { return m_data; }
    const QString &streamName() const { return m_streamName; }

private:
    QByteArray m_data;
    QString m_streamName;
};

// The one wording for a file whose structures contradict each other.
[[noreturn]] void throwDamaged(const QString &detail);

} // namespace wordproc::doc
