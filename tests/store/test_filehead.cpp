#include "store/FileHead.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lexora;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

TEST(FileHead, ReversesTheBitOrderOfEachByte)
{
    const std::pair<QByteArray, QByteArray> examples[] = {
        {QByteArray("RIFF"), bytes({0x4A, 0x92, 0x62, 0x62})},
        {bytes({0xFF, 0xD8, 0xFF, 0xE0}), bytes({0xFF, 0x1B, 0xFF, 0x07})},
        {bytes({0x00, 0xFF, 0x01}), bytes({0x00, 0xFF, 0x80})},
    };
    for (auto [plain, crypted] : examples) {
        CryptBytesHead(plain);
        EXPECT_EQ(plain.toHex(), crypted.toHex());
    }
}

TEST(FileHead, OnDiskOnlyTheFirst72BytesChangeAndTwiceUndoesIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file.bin"));
    auto write = [&path](const QByteArray& content) {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
    };
    auto read = [&path] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    QByteArray content;
    for (int i = 0; i < 100; ++i)
        content.append(static_cast<char>(i * 7 + 1));
    ASSERT_TRUE(write(content));
    ASSERT_TRUE(CryptFileHead(path));
    QByteArray expected = content;
    CryptBytesHead(expected);
    EXPECT_EQ(read(), expected);
    EXPECT_EQ(read().mid(72), content.mid(72));
    ASSERT_TRUE(CryptFileHead(path));
    EXPECT_EQ(read(), content);
    // A short file keeps its length; a missing file is left alone.
    ASSERT_TRUE(write(bytes({0x01, 0x02, 0x03})));
    ASSERT_TRUE(CryptFileHead(path));
    EXPECT_EQ(read(), bytes({0x80, 0x40, 0xC0}));
    EXPECT_TRUE(CryptFileHead(QString()));
    EXPECT_TRUE(CryptFileHead(dir.filePath(QStringLiteral("absent.pet"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("absent.pet"))));
}

} // namespace
