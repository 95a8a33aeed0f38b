#pragma once

#include "publish/PublishAudit.h"
#include "store/FileHead.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Readable test names and failures for QString parameters.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace lexora::test {

// A temporary tree of an author's source folders and the tool's destination folders:
//   src1/<initial>/<word>.wav  src2/<word>.wav  pics/<word>.jpg  voice/  pdest/
class PublishTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char* folder : {"src1", "src2", "pics", "voice", "pdest"})
            ASSERT_TRUE(QDir(m_dir.path()).mkpath(QLatin1String(folder)));
    }

    QString path(const QString& relative) const { return m_dir.filePath(relative); }

    // Writes a file, making its folders; returns its full path.
    QString write(const QString& relative, const QByteArray& content)
    {
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << full.toStdString();
        file.write(content);
        return full;
    }

    QByteArray read(const QString& relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The plain file as the program would decode the encoded one at `relative`.
    QByteArray decoded(const QString& relative) const
    {
        QByteArray bytes = read(relative);
        CryptBytesHead(bytes);
        return bytes;
    }

    QStringList files(const QString& folder) const
    {
        return QDir(path(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    QString writeWords(const QByteArray& content) { return write(QStringLiteral("words.txt"), content); }

    // Media files longer than the encoded head, distinct per word and per source.
    static QByteArray wav(const QString& word, const char* tag = "")
    {
        return QByteArray("RIFF") + QByteArray(tag) + word.toUtf8() + QByteArray(96, 'w');
    }
    static QByteArray jpg(const QString& word, const char* tag = "")
    {
        return QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(tag) + word.toUtf8() + QByteArray(96, 'j');
    }

    PublishFolders folders() const
    {
        return {path(QStringLiteral("pics/")), path(QStringLiteral("pdest/")), path(QStringLiteral("src1/")),
                path(QStringLiteral("src2/")), path(QStringLiteral("voice/"))};
    }

    // Every file of the tree outside the destination folders, with its content.
    QStringList outsideDestinations() const
    {
        QStringList out;
        QDirIterator it(m_dir.path(), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = QDir(m_dir.path()).relativeFilePath(it.next());
            if (file.startsWith(QLatin1String("voice/")) || file.startsWith(QLatin1String("pdest/")))
                continue;
            QFile f(it.filePath());
            out.append(
                file + QLatin1Char('=') +
                QString::fromLatin1((f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray()).toHex()));
        }
        out.sort();
        return out;
    }

private:
    QTemporaryDir m_dir;
};

} // namespace lexora::test
