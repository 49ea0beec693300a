#pragma once
// A write-only device that takes `capacity` bytes, at most `chunk` per write, and then refuses
// every write as a full disk does: writers are tested against short and failing writes without
// file permissions, which root ignores.
#include <QByteArray>
#include <QIODevice>

#include <algorithm>
#include <limits>

namespace testsupport {

class FailingDevice final : public QIODevice {
public:
    static inline const QString kReason = QStringLiteral("No space left on device");

    explicit FailingDevice(qint64 capacity, qint64 chunk = std::numeric_limits<qint64>::max())
        : m_capacity(capacity), m_chunk(chunk)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    const QByteArray &received() const { return m_received; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        const qint64 room = m_capacity - m_received.size();
        if (room <= 0) {
            setErrorString(kReason);
            return -1;
        }
        const qint64 taken = std::min({length, room, m_chunk});
        m_received.append(data, taken);
        return taken;
    }

private:
    qint64 m_capacity;
    qint64 m_chunk;
    QByteArray m_received;
};

// A read-only source that delivers `good` bytes and then fails, as a file on a failing disk does.
class FailingSource final : public QIODevice {
public:
    explicit FailingSource(qint64 good) : m_left(good)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        setErrorString(QStringLiteral("Input/output error"));
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_left == 0)
            return -1;
        const qint64 count = std::min(maxSize, m_left);
        std::fill_n(data, count, 'n');
        m_left -= count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    qint64 m_left;
};

} // namespace testsupport
