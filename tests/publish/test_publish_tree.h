#pragma once

#include "MediaTestKit.h"
#include "publish/PublishAudit.h"
#include "store/FileHead.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace lexora::test {

// Sources src1/<initial>/<word>.wav, src2/<word>.wav, pics/<word>.jpg; destinations voice/, pdest/.
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
    // Writes files, making their folders; returns the full path of the last.
    QString write(std::initializer_list<std::pair<QString, QByteArray>> files)
    {
        for (const auto& [relative, content] : files) {
            QDir().mkpath(QFileInfo(path(relative)).path());
            WriteFile(path(relative), content);
        }
        return path(std::data(files)[files.size() - 1].first);
    }
    QString writeWords(const QByteArray& content) { return write({{QStringLiteral("words.txt"), content}}); }
    QByteArray read(const QString& relative) const { return ReadFile(path(relative)); }
    // The plain file as the program would decode the encoded one at `relative`.
    QByteArray decoded(const QString& relative) const { return Encoded(read(relative)); }
    QStringList files(const QString& folder) const { return FilesIn(path(folder)); }

    // Media files longer than the encoded head, distinct per word and per source.
    static QByteArray wav(const QString& w, const char* tag = "")
    {
        return "RIFF" + QByteArray(tag) + w.toUtf8() + QByteArray(96, 'w');
    }
    static QByteArray jpg(const QString& w, const char* tag = "")
    {
        return QByteArray("\xFF\xD8\xFF\xE0", 4) + tag + w.toUtf8() + QByteArray(96, 'j');
    }
    PublishFolders folders() const
    {
        return {path("pics/"), path("pdest/"), path("src1/"), path("src2/"), path("voice/")};
    }

    // A report on one line: list update, items, status, message, and "!" when not complete.
    static QString summary(const PublishReport& r)
    {
        const char* update[] = {"replace", "append", "keep"};
        return QStringLiteral("%1 [%2] %3 | %4%5")
            .arg(QLatin1String(update[static_cast<int>(r.listUpdate)]), r.items.join(QLatin1Char(',')),
                 r.status, r.message, QLatin1String(r.complete ? "" : " !"));
    }

    // Every file of the tree outside the destination folders, with its content.
    QStringList outsideDestinations() const
    {
        QStringList out;
        QDirIterator it(m_dir.path(), QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = QDir(m_dir.path()).relativeFilePath(it.next());
            if (!file.startsWith(QLatin1String("voice/")) && !file.startsWith(QLatin1String("pdest/")))
                out.append(file + QLatin1Char('=') + QString::fromLatin1(read(file).toHex()));
        }
        out.sort();
        return out;
    }

private:
    QTemporaryDir m_dir;
};

} // namespace lexora::test
