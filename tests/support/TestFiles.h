#pragma once
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace testsupport {

// Creates (or replaces) a file with the given content; a failure fails the running test.
inline void writeTestFile(const QString &path, const QByteArray &content = {})
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
}

// The file's bytes; empty when it cannot be read.
inline QByteArray readTestFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The permission bits of the path itself (a link is not followed).
inline unsigned modeOf(const QString &path)
{
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 0777;
}

} // namespace testsupport
