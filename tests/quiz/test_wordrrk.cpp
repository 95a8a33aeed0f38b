// The recognition test on a course of real files: modes, judging, ending early, the end of a run,
// what reaches the database and what is left in the media folders.
#include "QuizTestKit.h"
#include "ViewTestKit.h"
#include "quiz/WordRRK.h"
#include "store/WordStore.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <map>

namespace lexora::test {
namespace {

class RecognitionTest : public ::testing::Test
{
protected:
    // The standard course on book 0's given unit, every word with a picture and a voice.
    bool open(int unit = 0)
    {
        CourseFixture course = CourseFixture::standard();
        course.lastUnit = unit;
        world = std::make_unique<ViewWorld>(std::move(course));
        if (!world->build())
            return false;
        // The apostrophe word stored plainly, as a course holds it (blanks around it are the store's own
        // case).
        if (!world->course.exec(QStringLiteral("update PEP set English = 'I''m' where English = ' I''m '")))
            return false;
        const QStringList media = {QStringLiteral("hello"), QStringLiteral("good morning"),
                                   QStringLiteral("I'm"),   QStringLiteral("red"),
                                   QStringLiteral("blue"),  QStringLiteral("apple")};
        for (int i = 0; i < media.size(); ++i) {
            world->addPicture(media[i]);
            world->addVoice(media[i], i + 1);
            // At rest, as a published course keeps them.
            world->program->media.EncryptWordPic(media[i]);
            world->program->media.EncryptWordSound(media[i]);
        }
        WordStore& s = store();
        s.MakeConnectString();
        if (!s.LoadSettings() || !s.LoadBookUnits(0) || !s.LoadUnitWords(0, static_cast<std::int16_t>(unit)))
            return false;
        test = std::make_unique<WordRRK>(world->program->context(), world->host);
        return true;
    }
    // As the main window starts a test.
    void start(std::int16_t mode)
    {
        store().ResetTestFlags();
        test->SetMode(mode);
        test->SetTestWord();
        test->UserControl_Show();
    }
    void answer(bool right)
    {
        ASSERT_TRUE(PickChoice(*test, right));
        test->cmdOK_Click();
    }
    void passAll()
    {
        for (int guard = 0; guard < 20 && test->iTestWord() >= 0 && !test->IsTestComplete(); ++guard)
            answer(true);
    }
    QRadioButton* option(int k) const
    {
        return test->findChild<QRadioButton*>(QStringLiteral("optAns_%1").arg(k));
    }
    QWidget* child(const char* name) const { return test->findChild<QWidget*>(QLatin1String(name)); }
    QString text(const char* name) const { return test->findChild<QLabel*>(QLatin1String(name))->text(); }
    bool shown(const char* name) const { return child(name)->isVisibleTo(test.get()); }
    QVariant stored(const QString& table, const QString& where) const
    {
        const auto rows = world->course.rows(QStringLiteral("select Result from ") + table +
                                             QStringLiteral(" where ") + where);
        return rows.empty() ? QVariant(QStringLiteral("<none>")) : rows[0][0];
    }
    QVariant unitStatus(int book, int unit) const { return StoredUnitStatus(world->course, book, unit); }
    QString asked() const { return store().arrWords[static_cast<size_t>(test->iTestWord())].English; }
    WordStore& store() const { return world->program->store; }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<WordRRK> test;
};

TEST_F(RecognitionTest, ModesShowTheQuestionAndTheLoudspeakerAsStated)
{
    ASSERT_TRUE(open());
    struct Row
    {
        int mode;
        bool sound, question;
    };
    for (const Row r : {Row{0, false, true}, Row{1, true, true}, Row{2, true, false}}) {
        test->SetMode(static_cast<std::int16_t>(r.mode));
        EXPECT_EQ(shown("imgSound"), r.sound) << r.mode;
        EXPECT_EQ(shown("lblTestWord"), r.question) << r.mode;
    }
    test->SetMode(7);
    EXPECT_TRUE(shown("imgSound"));
    EXPECT_FALSE(shown("lblTestWord"));
    EXPECT_EQ(test->iTestMode(), 7);
}

TEST_F(RecognitionTest, QuestionAndChoiceTextsFollowTheMode)
{
    ASSERT_TRUE(open());
    start(0);
    const CWordType& q = store().arrWords[static_cast<size_t>(test->iTestWord())];
    EXPECT_EQ(text("lblTestWord"), q.Chinese);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(option(k)->text(),
                  store().arrWords[static_cast<size_t>(test->arrChoice()[static_cast<size_t>(k)])].English);
    // Three words: three choices, the fourth hidden.
    EXPECT_FALSE(option(3)->isVisibleTo(test.get()));
    EXPECT_FALSE(child("cmdOK")->isEnabled());
    EXPECT_FALSE(shown("imgWord"));

    start(1);
    EXPECT_EQ(text("lblTestWord"), asked());
    EXPECT_EQ(option(0)->text(), store().arrWords[static_cast<size_t>(test->arrChoice()[0])].Chinese);
    EXPECT_TRUE(text("lblTestedNum").isEmpty());
}

TEST_F(RecognitionTest, AWrongAnswerShowsTheAnswerAndKeepsTheQuestionUntilRight)
{
    ASSERT_TRUE(open());
    start(1);
    const int word = test->iTestWord();
    const CWordType before = store().arrWords[static_cast<size_t>(word)];
    const Choices choices = test->arrChoice();
    answer(false);
    const QString expected =
        QStringLiteral("正确答案是： ") + before.English + QStringLiteral(" : ") + before.Chinese;
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_EQ(world->prompter.asked()[0].text, expected);
    EXPECT_EQ(world->prompter.asked()[0].title, QStringLiteral("错啦！"));
    EXPECT_EQ(world->prompter.asked()[0].buttons, Prompter::Buttons::Ok);
    EXPECT_EQ(text("lblAns"), expected);
    EXPECT_TRUE(shown("lblAns"));
    EXPECT_TRUE(shown("imgWord"));
    EXPECT_TRUE(child("cmdOK")->isEnabled());
    EXPECT_EQ(test->iTestWord(), word);
    EXPECT_EQ(test->arrChoice(), choices);
    EXPECT_TRUE(text("lblTestedNum").isEmpty());

    answer(false);
    answer(true);
    EXPECT_EQ(store().arrWords[static_cast<size_t>(word)].errNum, before.errNum + 2);
    EXPECT_EQ(test->GetErrNum(), 1);
    EXPECT_EQ(text("lblTestedNum"), QStringLiteral("1/3"));
    EXPECT_NE(test->iTestWord(), word);
    EXPECT_FALSE(shown("lblAns"));
}

TEST_F(RecognitionTest, SoundsOfEachModeAfterARightAnswer)
{
    ASSERT_TRUE(open());
    const auto voiceOfWord = [this](const QString& english) {
        const QStringList order = {QStringLiteral("hello"), QStringLiteral("good morning"),
                                   QStringLiteral("I'm")};
        return world->voiceOf(static_cast<int>(order.indexOf(english)) + 1);
    };
    start(0);
    EXPECT_TRUE(world->soundOut.played.empty()); // a Chinese question has no voice
    QString first = asked();
    answer(true);
    ASSERT_EQ(world->soundOut.played.size(), 1u);
    EXPECT_EQ(world->soundOut.played.back(), voiceOfWord(first));

    world->soundOut.played.clear();
    start(1);
    ASSERT_EQ(world->soundOut.played.size(), 1u); // shown: the question is read
    answer(true);
    ASSERT_EQ(world->soundOut.played.size(), 2u);
    EXPECT_EQ(world->soundOut.played.back(), voiceOfWord(asked()));
    test->imgSound_Click();
    EXPECT_EQ(world->soundOut.played.back(), voiceOfWord(asked()));
}

TEST_F(RecognitionTest, EndingWithCancelWritesOnlyThePassedWords)
{
    ASSERT_TRUE(open());
    start(1);
    const QString passed = asked();
    answer(true);
    const QString failed = asked();
    answer(false);
    world->prompter.clear();
    world->prompter.queueAnswer(Prompter::Answer::Cancel);
    EXPECT_FALSE(test->EndTest());
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_EQ(world->prompter.asked()[0].text, QStringLiteral("还没有完成测试，你确定要结束单元测试吗?"));
    EXPECT_EQ(world->prompter.asked()[0].title, QStringLiteral("单词测试"));
    EXPECT_EQ(world->prompter.asked()[0].buttons, Prompter::Buttons::OkCancel);
    const auto result = [this](const QString& english) {
        return stored(QStringLiteral("PEP"),
                      QStringLiteral("English = '%1'")
                          .arg(QString(english).replace(QLatin1Char('\''), QStringLiteral("''"))));
    };
    const CWordType* p = nullptr;
    for (const CWordType& w : store().arrWords)
        p = w.English == passed ? &w : p;
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(result(passed), QStringLiteral("%1|%2|%3").arg(p->testNum).arg(p->errNum).arg(p->rightNum));
    // The word answered only wrongly keeps what was stored before the run.
    const std::map<QString, QString> before = {{QStringLiteral("hello"), QString()},
                                               {QStringLiteral("good morning"), QStringLiteral("3|1|2")},
                                               {QStringLiteral("I'm"), QString()}};
    EXPECT_EQ(result(failed).toString(), before.at(failed)) << failed.toStdString();
    EXPECT_TRUE(world->host.shown.empty());

    // OK leaves the test for the reader.
    world->prompter.queueAnswer(Prompter::Answer::Ok);
    test->cmdEndTest_Click();
    EXPECT_EQ(world->host.shown, (std::vector<std::pair<int, int>>{{1, 0}}));
}

TEST_F(RecognitionTest, APerfectRunMarksTheUnitAndReturnsToTheReader)
{
    ASSERT_TRUE(open(0));
    start(2);
    passAll();
    EXPECT_EQ(test->iTestWord(), -1);
    EXPECT_FALSE(child("Frame1")->isEnabled());
    EXPECT_EQ(unitStatus(0, 0).toInt(), 2);
    EXPECT_EQ(store().arrBookUnit[0].UnitStatus, 2);
    ASSERT_FALSE(world->prompter.asked().empty());
    EXPECT_EQ(world->prompter.asked().back().text, QStringLiteral("你好棒喔！全对了耶！！"));
    EXPECT_EQ(world->prompter.asked().back().title, QStringLiteral("单词认知测试"));
    EXPECT_EQ(world->host.shown, (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(world->host.testResults, 0);
    // Every word's counters are stored, the apostrophe word's among them.
    EXPECT_EQ(stored(QStringLiteral("PEP"), QStringLiteral("English = 'I''m'")), QStringLiteral("1|0|1"));
    EXPECT_EQ(stored(QStringLiteral("PEP"), QStringLiteral("English = 'good morning'")),
              QStringLiteral("4|1|3"));
    EXPECT_EQ(stored(QStringLiteral("PEP"), QStringLiteral("English = 'hello'")), QStringLiteral("1|0|1"));
}

TEST_F(RecognitionTest, ARunWithMistakesShowsTheResultsAndLeavesTheUnitStatus)
{
    ASSERT_TRUE(open(1));
    start(1);
    QString missed;
    for (int guard = 0; guard < 20 && test->iTestWord() >= 0; ++guard) {
        if (missed.isEmpty()) {
            missed = asked();
            answer(false);
        }
        answer(true);
    }
    ASSERT_EQ(test->iTestWord(), -1);
    EXPECT_EQ(world->prompter.asked().back().text,
              QStringLiteral("本次共测试了3个单词,有1次错误！还要继续努力喔！"));
    EXPECT_EQ(world->prompter.asked().back().title, QStringLiteral("单词认知测试"));
    EXPECT_EQ(world->host.testResults, 1);
    EXPECT_TRUE(world->host.shown.empty());
    EXPECT_EQ(unitStatus(0, 1).toInt(), 1);
    // A word of two units is stored in both.
    const auto apple = world->course.rows(QStringLiteral("select Result from PEP where English = 'apple'"));
    ASSERT_EQ(apple.size(), 2u);
    const QString appleResult =
        missed == QStringLiteral("apple") ? QStringLiteral("2|1|1") : QStringLiteral("1|0|1");
    EXPECT_EQ(apple[0][0], appleResult);
    EXPECT_EQ(apple[1][0], appleResult);
    EXPECT_EQ(stored(QStringLiteral("PEP"), QStringLiteral("English = 'red'")),
              missed == QStringLiteral("red") ? QStringLiteral("9|1|1") : QStringLiteral("8|0|8"));
}

TEST_F(RecognitionTest, NoPlainPictureOrSoundIsLeftAfterARun)
{
    ASSERT_TRUE(open(0));
    start(1);
    answer(false);
    passAll();
    const QDir pics(world->pics()), voice(world->voice());
    EXPECT_TRUE(pics.entryList({QStringLiteral("*.jpg")}, QDir::Files).isEmpty());
    EXPECT_EQ(pics.entryList({QStringLiteral("*.pet")}, QDir::Files).size(), 6);
    EXPECT_TRUE(voice.entryList({QStringLiteral("*.wav")}, QDir::Files).isEmpty());
}

TEST_F(RecognitionTest, AListTooShortIsRefusedAndAnEmptyOneAsksNothing)
{
    ASSERT_TRUE(open(0));
    store().iWordNum = 1;
    EXPECT_FALSE(test->MayStart());
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_EQ(world->prompter.asked()[0].title, QStringLiteral("单词认知测试"));
    store().iWordNum = 2;
    EXPECT_TRUE(test->MayStart());

    store().iWordNum = 0;
    start(1);
    EXPECT_TRUE(world->host.shown.empty());
    EXPECT_TRUE(unitStatus(0, 0).isNull());
}

} // namespace
} // namespace lexora::test
