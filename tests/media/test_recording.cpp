#include "FakePrompter.h"
#include "MediaTestKit.h"
#include "media/RecordDevice.h"
#include "media/VoiceRecorder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <map>

using namespace lexora;
using namespace lexora::test;

namespace {

// Logs every command and fails those whose text starts with one of `failing`.
class ScriptedDevice final : public CommandDevice
{
public:
    int sendString(const QString& command, QString* reply) override
    {
        commands << command;
        if (reply)
            *reply = QStringLiteral("0");
        for (const QString& prefix : failing)
            if (command.startsWith(prefix))
                return 300 + static_cast<int>(commands.size());
        return 0;
    }
    QString errorString(int code) const override { return QStringLiteral("failure %1").arg(code); }

    QStringList commands;
    QStringList failing;
};

const QStringList kStartCommands = {
    QStringLiteral("close all"),
    QStringLiteral("open new Type waveaudio Alias recsound"),
    QStringLiteral("set recsound time format ms"),
    QStringLiteral("set recsound format tag pcm"),
    QStringLiteral("set recsound channels 2"),
    QStringLiteral("set recsound samplespersec 44100"),
    QStringLiteral("set recsound bitspersample 16"),
    QStringLiteral("set recsound alignment  4"),
    QStringLiteral("record recsound"),
};

TEST(VoiceRecorderCommands, AreSentInOrderWithThePathKeptWhole)
{
    ScriptedDevice device;
    FakePrompter prompter;
    VoiceRecorder recorder(device, prompter);
    recorder.StartRecord(QStringLiteral("2"), QStringLiteral("16"), QStringLiteral("44100"));
    EXPECT_EQ(device.commands, kStartCommands);
    EXPECT_EQ(recorder.lByteRate, 176400);

    device.commands.clear();
    recorder.StopRecord(QStringLiteral("/no such folder/my  voice.wav"));
    EXPECT_EQ(device.commands, (QStringList{QStringLiteral("stop recsound"),
                                            QStringLiteral("save recsound /no such folder/my  voice.wav"),
                                            QStringLiteral("status recsound channels"),
                                            QStringLiteral("status recsound bitspersample"),
                                            QStringLiteral("status recsound samplespersec"),
                                            QStringLiteral("close recsound"), QStringLiteral("close all")}));
    EXPECT_TRUE(prompter.asked().empty());
}

TEST(VoiceRecorderCommands, EveryFailureIsShownWithItsStepsTitleAndTheSequenceGoesOn)
{
    ScriptedDevice device;
    device.failing = {QStringLiteral("open"),      QStringLiteral("set"),   QStringLiteral("record"),
                      QStringLiteral("stop"),      QStringLiteral("save"),  QStringLiteral("close recsound"),
                      QStringLiteral("close all"), QStringLiteral("status")};
    FakePrompter prompter;
    VoiceRecorder recorder(device, prompter);
    recorder.StartRecord(QStringLiteral("2"), QStringLiteral("16"), QStringLiteral("44100"));
    recorder.StopRecord(QStringLiteral("/tmp/x.wav"));

    EXPECT_EQ(device.commands.size(), kStartCommands.size() + 7);
    std::vector<QString> titles;
    for (const auto& asked : prompter.asked()) {
        titles.push_back(asked.title);
        EXPECT_TRUE(asked.text.startsWith(QLatin1String("failure "))) << "the device's own error text";
        EXPECT_EQ(asked.buttons, Prompter::Buttons::Ok);
    }
    const std::vector<QString> expected = {QStringLiteral("Error"),
                                           QStringLiteral("Error (time format)"),
                                           QStringLiteral("Error (format tag)"),
                                           QStringLiteral("Error (channels)"),
                                           QStringLiteral("Error (samples/sec)"),
                                           QStringLiteral("Error (bits/sample)"),
                                           QStringLiteral("Error (block align)"),
                                           QStringLiteral("Error (record)"),
                                           QStringLiteral("Error (stop)"),
                                           QStringLiteral("Error (save)"),
                                           QStringLiteral("Error (close)")};
    EXPECT_EQ(titles, expected);
}

class RecordingToFiles : public ::testing::Test
{
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    FakeCaptureDevice capture;
    RecordDevice device{capture};
    FakePrompter prompter;
    VoiceRecorder recorder{device, prompter};
    const PcmFormat stereo{2, 16, 44100};
};

TEST_F(RecordingToFiles, SavesACanonicalWavAnywhereAndCorrectsItsByteRate)
{
    capture.nextData = TestPcm(stereo, 300, 1);
    QDir().mkpath(path(QStringLiteral("a folder with blanks")));
    const QString target = path(QStringLiteral("a folder with blanks/good morning.wav"));
    recorder.StartRecord(QStringLiteral("2"), QStringLiteral("16"), QStringLiteral("44100"));
    ASSERT_EQ(capture.started.size(), 1u);
    EXPECT_EQ(capture.started[0], stereo);
    recorder.StopRecord(target);

    EXPECT_TRUE(prompter.asked().empty());
    const QByteArray wav = ReadFile(target);
    EXPECT_EQ(wav, MakeWav(stereo, capture.nextData));
    EXPECT_EQ(wav.mid(28, 3).toHex(), QByteArray("10b102"));
    EXPECT_FALSE(device.isOpen());
}

TEST_F(RecordingToFiles, TheByteRateCorrectionUsesTheReportedFormatAndKeepsTheTopByte)
{
    const QString target = path(QStringLiteral("mono.wav"));
    capture.nextData = TestPcm({1, 8, 11025}, 100, 2);
    recorder.StartRecord(QStringLiteral("1"), QStringLiteral("8"), QStringLiteral("11025"));
    recorder.StopRecord(target);
    EXPECT_EQ(recorder.lByteRate, 11025);
    EXPECT_EQ(ReadFile(target).mid(28, 4).toHex(), QByteArray("112b0000"));

    QByteArray patched = ReadFile(target);
    patched[31] = '\x7f';
    WriteFile(target, patched);
    EXPECT_TRUE(PatchWavByteRate(target, 0x123456));
    EXPECT_EQ(ReadFile(target).mid(28, 4).toHex(), QByteArray("5634127f"));
    EXPECT_EQ(ReadFile(target).size(), patched.size());
}

TEST_F(RecordingToFiles, AFailedSaveLeavesTheTargetAsItWas)
{
    const QString target = path(QStringLiteral("kept.wav"));
    WriteFile(target, QByteArray("an earlier reading"));
    capture.available = false;
    recorder.StartRecord(QStringLiteral("2"), QStringLiteral("16"), QStringLiteral("44100"));
    recorder.StopRecord(target);
    EXPECT_EQ(ReadFile(target), QByteArray("an earlier reading"));

    const QString missing = path(QStringLiteral("no folder/new.wav"));
    capture.available = true;
    recorder.StartRecord(QStringLiteral("2"), QStringLiteral("16"), QStringLiteral("44100"));
    recorder.StopRecord(missing);
    EXPECT_FALSE(QFile::exists(missing));

    std::vector<QString> titles;
    for (const auto& asked : prompter.asked())
        titles.push_back(asked.title);
    EXPECT_EQ(titles, (std::vector<QString>{QStringLiteral("Error (record)"), QStringLiteral("Error (save)"),
                                            QStringLiteral("Error (save)")}));
    EXPECT_EQ(FilesIn(dir.path()), QStringList{QStringLiteral("kept.wav")});
}

TEST_F(RecordingToFiles, ASecondStartClosesTheFirstRecordingAndStartsAfresh)
{
    const QString target = path(QStringLiteral("second.wav"));
    capture.nextData = TestPcm(stereo, 100, 3);
    recorder.StartRecord(QStringLiteral("2"), QStringLiteral("16"), QStringLiteral("44100"));
    capture.nextData = TestPcm(stereo, 80, 4);
    recorder.StartRecord(QStringLiteral("2"), QStringLiteral("16"), QStringLiteral("44100"));
    EXPECT_EQ(capture.started.size(), 2u);
    EXPECT_EQ(capture.stops, 1);
    recorder.StopRecord(target);
    EXPECT_TRUE(prompter.asked().empty());
    EXPECT_EQ(WavData(ReadFile(target)), TestPcm(stereo, 80, 4));
}

struct CommandCase
{
    const char* command;
    int code;
};

class DeviceCommands : public ::testing::TestWithParam<CommandCase>
{};

// Each command runs on a device opened as "rec" and set to 2 channels of 16 bits.
TEST_P(DeviceCommands, AnswerWithTheirErrorCode)
{
    FakeCaptureDevice capture;
    RecordDevice device(capture);
    for (const char* setup : {"open new type WaveAudio alias rec", "set rec channels 2",
                              "set rec bitspersample 16", "set rec alignment 4"})
        ASSERT_EQ(device.sendString(QLatin1String(setup), nullptr), 0) << setup;
    EXPECT_EQ(device.sendString(QLatin1String(GetParam().command), nullptr), GetParam().code);
    EXPECT_FALSE(device.errorString(GetParam().code).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, DeviceCommands,
    ::testing::Values(CommandCase{"SET REC SAMPLESPERSEC 22050", RecordDevice::NoError},
                      CommandCase{"set other channels 2", RecordDevice::DeviceNotOpen},
                      CommandCase{"open new Type waveaudio Alias rec", RecordDevice::DuplicateAlias},
                      CommandCase{"set rec bitspersample 12", RecordDevice::OutOfRange},
                      CommandCase{"set rec channels none", RecordDevice::OutOfRange},
                      CommandCase{"set rec volume 3", RecordDevice::UnrecognizedCommand},
                      CommandCase{"play rec", RecordDevice::UnrecognizedCommand},
                      CommandCase{"save rec /tmp/never.wav", RecordDevice::NothingRecorded},
                      CommandCase{"", RecordDevice::UnrecognizedCommand}));

TEST(RecordDevice, RecordsOnlyWhenTheAlignmentFitsTheFormat)
{
    FakeCaptureDevice capture;
    RecordDevice device(capture);
    device.sendString(QStringLiteral("open new Type waveaudio Alias rec"), nullptr);
    device.sendString(QStringLiteral("set rec channels 2"), nullptr);
    EXPECT_EQ(device.sendString(QStringLiteral("record rec"), nullptr), RecordDevice::OutOfRange);
    device.sendString(QStringLiteral("set rec alignment 2"), nullptr);
    EXPECT_EQ(device.sendString(QStringLiteral("record rec"), nullptr), RecordDevice::NoError);
    QString reply;
    EXPECT_EQ(device.sendString(QStringLiteral("status rec mode"), &reply), 0);
    EXPECT_EQ(reply, QStringLiteral("recording"));
}

TEST(RecordDevice, SavesToAQuotedPath)
{
    QTemporaryDir dir;
    FakeCaptureDevice capture;
    capture.nextData = QByteArray(8, '\x80');
    RecordDevice device(capture);
    device.sendString(QStringLiteral("open new Type waveaudio Alias rec"), nullptr);
    device.sendString(QStringLiteral("record rec"), nullptr);
    const QString target = dir.filePath(QStringLiteral("with blank.wav"));
    EXPECT_EQ(device.sendString(QStringLiteral("save rec \"%1\"").arg(target), nullptr), 0);
    EXPECT_EQ(ReadFile(target), MakeWav(PcmFormat{}, capture.nextData));
}

} // namespace
