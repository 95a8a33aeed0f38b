#include "media/WavFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace lexora;

namespace {

template <typename T> QByteArray Le(T v)
{
    char b[sizeof(T)];
    qToLittleEndian(v, b);
    return QByteArray(b, sizeof(T));
}

QByteArray Chunk(const char* id, const QByteArray& body)
{
    QByteArray out = QByteArray(id) + Le(static_cast<quint32>(body.size())) + body;
    return body.size() % 2 ? out + '\0' : out;
}

QByteArray Fmt(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    return Le(tag) + Le(channels) + Le(rate) + Le(rate * channels * bits / 8) +
           Le<quint16>(channels * bits / 8) + Le(bits);
}

QByteArray Riff(const QByteArray& chunks)
{
    return "RIFF" + Le(static_cast<quint32>(chunks.size() + 4)) + "WAVE" + chunks;
}

QByteArray Set(QByteArray bytes, int at, const QByteArray& with)
{
    bytes.replace(at, with.size(), with);
    return bytes;
}

const QByteArray kSamples("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
const QByteArray kMono16 = MakeWav({1, 16, 16000}, kSamples);

struct WavCase
{
    const char* name;
    QByteArray file;
    std::optional<PcmFormat> format; // none: refused
    QByteArray data;                 // read, or a part of the reason given
};

void PrintTo(const WavCase& c, std::ostream* os)
{
    *os << c.name;
}

class CheckWavTable : public ::testing::TestWithParam<WavCase>
{};

TEST_P(CheckWavTable, ReadsOnlyWhatIsSafeToConvertAndSaysWhyNot)
{
    const WavCase& c = GetParam();
    const WavRead read = CheckWav(c.file);
    if (!c.format) {
        ASSERT_TRUE(std::holds_alternative<QString>(read)) << "read a file that should be refused";
        EXPECT_TRUE(std::get<QString>(read).contains(QLatin1String(c.data)))
            << qPrintable(std::get<QString>(read));
        EXPECT_FALSE(ParseWav(c.file));
        return;
    }
    ASSERT_TRUE(std::holds_alternative<WavAudio>(read)) << qPrintable(std::get<QString>(read));
    EXPECT_EQ(std::get<WavAudio>(read).format, *c.format);
    EXPECT_EQ(std::get<WavAudio>(read).data, c.data);
}

const QByteArray kFmt = Chunk("fmt ", Fmt(1, 1, 16000, 16));

INSTANTIATE_TEST_SUITE_P(
    Headers, CheckWavTable,
    ::testing::Values(
        WavCase{"StereoSixteenBits", MakeWav({2, 16, 44100}, kSamples), PcmFormat{2, 16, 44100}, kSamples},
        WavCase{"MonoEightBits", MakeWav({1, 8, 8000}, kSamples), PcmFormat{1, 8, 8000}, kSamples},
        WavCase{"OddBytesCutToWholeFrames", MakeWav({1, 16, 16000}, kSamples.left(5)),
                PcmFormat{1, 16, 16000}, kSamples.left(4)},
        WavCase{"UnknownChunkFirst", Riff(Chunk("LIST", "INFOabc") + kFmt + Chunk("data", kSamples)),
                PcmFormat{1, 16, 16000}, kSamples},
        // The header of the reading that brought the checker down: 256 channels.
        WavCase{"TwoHundredFiftySixChannels", Set(kMono16, 22, Le<quint16>(256)), std::nullopt,
                "256 channels"},
        // The same bytes written where the channel count starts, which makes a rate of 256.
        WavCase{"RateOfTwoHundredFiftySix", Set(kMono16, 22, QByteArray("\x01\x00\x00\x01", 4)), std::nullopt,
                "256 samples per second"},
        WavCase{"TruncatedHeader", kMono16.left(30), std::nullopt, "format chunk is cut short"},
        WavCase{"DataBeyondTheFile", Riff(kFmt) + "data" + Le<quint32>(1000) + kSamples, std::nullopt,
                "claims 1000 bytes"},
        WavCase{"ZeroRate", Riff(Chunk("fmt ", Fmt(1, 1, 0, 16)) + Chunk("data", kSamples)), std::nullopt,
                "0 samples per second"},
        WavCase{"OneHertz", Riff(Chunk("fmt ", Fmt(1, 1, 1, 16)) + Chunk("data", kSamples)), std::nullopt,
                "1 samples per second"},
        WavCase{"TwentyFourBits", Riff(Chunk("fmt ", Fmt(1, 1, 16000, 24)) + Chunk("data", kSamples)),
                std::nullopt, "24 bits"},
        WavCase{"Float", Riff(Chunk("fmt ", Fmt(3, 1, 16000, 32)) + Chunk("data", kSamples)), std::nullopt,
                "not PCM"},
        WavCase{"BlockAlignOfStereo", Set(kMono16, 32, Le<quint16>(4)), std::nullopt, "block align 4"},
        WavCase{"ByteRateOfAnotherRate", Set(kMono16, 28, Le<quint32>(88200)), std::nullopt,
                "byte rate 88200"},
        WavCase{"DataBeforeFormat", Riff(Chunk("data", kSamples) + kFmt), std::nullopt, "before the format"},
        WavCase{"NoDataChunk", Riff(kFmt), std::nullopt, "no data chunk"},
        WavCase{"NotRiff", QByteArray("RIFX") + kMono16.mid(4), std::nullopt, "not a RIFF"},
        WavCase{"Empty", QByteArray(), std::nullopt, "not a RIFF"}),
    [](const ::testing::TestParamInfo<WavCase>& info) { return std::string(info.param.name); });

// Files: only regular ones are read, and a FIFO is refused without waiting for a writer.
TEST(CheckWavFile, RefusesAnythingButARegularFileWithoutBlocking)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.wav"));
    const QString fifo = dir.filePath(QStringLiteral("fifo.wav"));
    const QString folder = dir.filePath(QStringLiteral("folder.wav"));
    QFile file(good);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kMono16);
    file.close();
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkdir(folder));

    EXPECT_TRUE(ReadWavFile(good));
    for (const QString& path : {fifo, folder, dir.filePath(QStringLiteral("missing.wav"))}) {
        const WavRead read = CheckWavFile(path);
        ASSERT_TRUE(std::holds_alternative<QString>(read)) << qPrintable(path);
        EXPECT_FALSE(std::get<QString>(read).isEmpty());
    }
    EXPECT_EQ(std::get<QString>(CheckWavFile(fifo)), QStringLiteral("not a regular file"));
}

} // namespace
