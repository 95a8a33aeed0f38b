#include "course/EmojiNames.h"
#include "course/PictureChoice.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace lexora;

namespace {

// Annotations as the CLDR files write them, with the rivals each rule must settle.
const char* const kAnnotations = R"(<ldml><annotations>
  <annotation cp="💰">bag | dollar | money | moneybag</annotation>
  <annotation cp="💰" type="tts">money bag</annotation>
  <annotation cp="🎒">backpack | bag | rucksack | satchel | school</annotation>
  <annotation cp="🎒" type="tts">backpack</annotation>
  <annotation cp="🚓">car | patrol | police</annotation>
  <annotation cp="🚓" type="tts">police car</annotation>
  <annotation cp="🚗">automobile | car</annotation>
  <annotation cp="🚗" type="tts">automobile</annotation>
  <annotation cp="🍎">apple | fruit | red</annotation>
  <annotation cp="🍎" type="tts">red apple</annotation>
  <annotation cp="🍏">apple | fruit | green</annotation>
  <annotation cp="🍏" type="tts">green apple</annotation>
  <annotation cp="🍊">fruit | orange | tangerine</annotation>
  <annotation cp="🍊" type="tts">tangerine</annotation>
  <annotation cp="🍒">berries | cherries | cherry | fruit | red</annotation>
  <annotation cp="🍒" type="tts">cherries</annotation>
</annotations></ldml>)";

// The Chinese annotations of some of them, as the CLDR's zh file writes them.
const char* const kChineseAnnotations = R"(<ldml><identity><language type="zh"/></identity><annotations>
  <annotation cp="🎒">书包 | 包</annotation>
  <annotation cp="🎒" type="tts">书包</annotation>
  <annotation cp="🚗">汽车 | 轿车</annotation>
  <annotation cp="🚗" type="tts">汽车</annotation>
  <annotation cp="🍊">柑桔 | 桔子 | 橘子 | 水果</annotation>
  <annotation cp="🍊" type="tts">橘子</annotation>
  <annotation cp="👋">你好 | 再见 | 挥手</annotation>
  <annotation cp="👋" type="tts">挥手</annotation>
</annotations></ldml>)";

struct PictureCase
{
    const char* name;
    std::vector<std::pair<const char*, const char*>> words; // English, Chinese
    std::vector<const char*> given;                         // emoji the course gives other words
    QStringList expected;                                   // "word: picture sure|check" or "word: none"
};

void PrintTo(const PictureCase& c, std::ostream* os)
{
    *os << c.name;
}

QString shown(const QString& english, const FoundPicture& found)
{
    if (found.kind == FoundPicture::Kind::None)
        return english + QStringLiteral(": none");
    const QString picture =
        found.kind == FoundPicture::Kind::Colour ? QStringLiteral("colour ") + found.value : found.value;
    return QStringLiteral("%1: %2 %3")
        .arg(english, picture, found.sure ? QStringLiteral("sure") : QStringLiteral("check"));
}

class PictureRules : public ::testing::TestWithParam<PictureCase>
{
protected:
    void SetUp() override
    {
        for (const char* annotations : {kAnnotations, kChineseAnnotations}) {
            QBuffer xml;
            xml.setData(annotations);
            ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
            QString error;
            ASSERT_TRUE(m_names.addAnnotations(xml, &error)) << error.toStdString();
        }
    }
    EmojiNames m_names;
};

TEST_P(PictureRules, GiveEachWordAPictureOfItsOwn)
{
    std::vector<CourseWord> course;
    for (const auto& [english, chinese] : GetParam().words)
        course.push_back({0, 0, QString::fromUtf8(english), QString::fromUtf8(chinese), {}, {}, 0});
    std::vector<const CourseWord*> words;
    for (const CourseWord& word : course)
        words.push_back(&word);
    QSet<QString> given;
    for (const char* emoji : GetParam().given)
        given.insert(QString::fromUtf8(emoji));

    const std::vector<FoundPicture> found = FindPictures(words, &m_names, given);
    ASSERT_EQ(found.size(), words.size());
    QStringList actual;
    for (size_t i = 0; i < found.size(); ++i)
        actual << shown(words[i]->english, found[i]);
    EXPECT_EQ(actual.join(QLatin1Char('\n')).toStdString(),
              GetParam().expected.join(QLatin1Char('\n')).toStdString());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(PictureChoice, PictureRules, ::testing::Values(
    PictureCase{"ChineseNameIsTheMeaning", {{"bag", "书包"}, {"car", "汽车；轿车"}}, {}, {"bag: 🎒 sure", "car: 🚗 sure"}},
    PictureCase{"QualifiedNameWithoutAMeaning", {{"bag", ""}, {"car", ""}}, {}, {"bag: 💰 sure", "car: 🚓 sure"}},
    PictureCase{"MeaningOnlyFindsAPicture", {{"hello", "你好"}, {"goodbye", "再见"}}, {}, {"hello: 👋 check", "goodbye: none"}},
    PictureCase{"LooseMatchYieldsToTheWordItNames", {{"orange", "橙子"}, {"tangerine", "柑桔"}}, {},
        {"orange: none", "tangerine: 🍊 sure"}},
    PictureCase{"DescribedNameIsSure", {{"apple", "苹果"}}, {}, {"apple: 🍎 sure"}},
    PictureCase{"ColourWordsGetTheirColour", {{"red", "红色"}, {"green", "绿"}, {"White", ""}, {"dark blue", "深蓝色"}}, {},
        {"red: colour #e53935 sure", "green: colour #43a047 sure", "White: colour #ffffff sure", "dark blue: colour #145b99 sure"}},
    PictureCase{"ColourNameMeaningAThing", {{"orange", "橙子"}, {"Orange", "橙色"}}, {},
        {"orange: 🍊 check", "Orange: colour #fb8c00 sure"}},
    PictureCase{"PictureTheCourseGivesIsTaken", {{"apple", "苹果"}}, {"🍎"}, {"apple: 🍏 check"}},
    PictureCase{"NothingLeft", {{"apple", "苹果"}, {"apples", "苹果"}, {"APPLE", "苹果"}}, {},
        {"apple: 🍎 sure", "apples: 🍏 check", "APPLE: none"}},
    PictureCase{"SurestChoosesFirst", {{"berries", "浆果"}, {"cherries", "樱桃"}}, {},
        {"berries: none", "cherries: 🍒 sure"}},
    PictureCase{"OneColourOnce", {{"grey", "灰色"}, {"gray", "灰色"}}, {}, {"grey: colour #9e9e9e sure", "gray: none"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace
