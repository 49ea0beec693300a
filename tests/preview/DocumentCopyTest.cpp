#include "preview/DocumentCopy.h"

#include "shell/AppError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A document that becomes unreadable partway through, as a file on a failing disk does.
class DocumentFailingAfter final : public QIODevice {
public:
    explicit DocumentFailingAfter(qint64 good) : m_left(good)
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
        std::fill_n(data, count, 'd');
        m_left -= count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    qint64 m_left;
};

TEST(DocumentCopy, SourceFailingPartwayNeverTouchesTheFileBeingOverwritten)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("precious.doc"));
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("precious");
    }
    DocumentFailingAfter source(150000); // past the first chunks, so writing has begun
    try {
        preview::copyReplacing(source, 300000, target);
        FAIL() << "a failing source must fail the copy";
    } catch (const shell::AppError &error) {
        EXPECT_TRUE(error.description().startsWith(QStringLiteral("The document could not be saved as ") + target))
            << error.description().toStdString();
        EXPECT_TRUE(error.description().contains(QStringLiteral("Input/output error")));
    }
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("precious"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("precious.doc")});
}

} // namespace
