#include "form/DocumentCopy.h"

#include "runtime/AppError.h"

#include "FailingDevice.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {


TEST(DocumentCopy, SourceFailingPartwayNeverTouchesTheFileBeingOverwritten)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("precious.doc"));
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("precious");
    }
    testsupport::FailingSource source(150000); // past the first chunks, so writing has begun
    try {
        form::copyReplacing(source, 300000, target);
        FAIL() << "a failing source must fail the copy";
    } catch (const runtime::AppError &error) {
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
