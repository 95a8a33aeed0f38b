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

struct HeadCase
{
    const char* name;
    QByteArray plain;
    QByteArray crypted;
};

class FileHeadExamples : public ::testing::TestWithParam<HeadCase>
{};

TEST_P(FileHeadExamples, ReversesBitOrderOfEachByte)
{
    QByteArray data = GetParam().plain;
    CryptBytesHead(data);
    EXPECT_EQ(data.toHex(), GetParam().crypted.toHex());
    CryptBytesHead(data);
    EXPECT_EQ(data, GetParam().plain);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FileHeadExamples,
    ::testing::Values(HeadCase{"riff", QByteArray("RIFF"), bytes({0x4A, 0x92, 0x62, 0x62})},
                      HeadCase{"jpeg", bytes({0xFF, 0xD8, 0xFF, 0xE0}), bytes({0xFF, 0x1B, 0xFF, 0x07})},
                      HeadCase{"zeroAndFull", bytes({0x00, 0xFF}), bytes({0x00, 0xFF})},
                      HeadCase{"one", bytes({0x01}), bytes({0x80})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReverseBits, IsAnInvolutionOverAllBytes)
{
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        EXPECT_EQ(ReverseBits(ReverseBits(byte)), byte);
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ((ReverseBits(byte) >> k) & 1, (byte >> (7 - k)) & 1);
    }
}

class FileHeadOnDisk : public ::testing::Test
{
protected:
    QString write(const QByteArray& content)
    {
        const QString path = dir.filePath(QStringLiteral("file.bin"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path;
    }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

TEST_F(FileHeadOnDisk, ChangesOnlyTheFirst72Bytes)
{
    QByteArray content;
    for (int i = 0; i < 100; ++i)
        content.append(static_cast<char>(i * 7 + 1));
    const QString path = write(content);
    ASSERT_TRUE(CryptFileHead(path));
    const QByteArray after = read(path);
    ASSERT_EQ(after.size(), 100);
    QByteArray expected = content;
    CryptBytesHead(expected);
    EXPECT_EQ(after, expected);
    EXPECT_EQ(after.mid(72), content.mid(72));
    EXPECT_NE(after.left(72), content.left(72));
    ASSERT_TRUE(CryptFileHead(path));
    EXPECT_EQ(read(path), content);
}

TEST_F(FileHeadOnDisk, ShortFileKeepsItsLengthAndIsTransformed)
{
    const QString path = write(bytes({0x01, 0x02, 0x03}));
    ASSERT_TRUE(CryptFileHead(path));
    EXPECT_EQ(read(path), bytes({0x80, 0x40, 0xC0}));
}

TEST_F(FileHeadOnDisk, AllZeroOrAllOnesHeadIsUnchanged)
{
    for (char fill : {'\x00', '\xFF'}) {
        const QByteArray content(80, fill);
        const QString path = write(content);
        ASSERT_TRUE(CryptFileHead(path));
        EXPECT_EQ(read(path), content);
    }
}

TEST_F(FileHeadOnDisk, MissingFileOrEmptyPathDoesNothing)
{
    EXPECT_TRUE(CryptFileHead(QString()));
    EXPECT_TRUE(CryptFileHead(dir.filePath(QStringLiteral("absent.pet"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("absent.pet"))));
}

} // namespace
