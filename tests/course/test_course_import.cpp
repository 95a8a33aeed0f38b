#include "FakePrompter.h"
#include "MediaTestKit.h"
#include "course/CourseImport.h"
#include "store/Random.h"
#include "store/WordStore.h"

#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lexora;
using test::WriteFile;

namespace {

// As a flash-card program saves it: identifiers with extras, graded translations, nested lessons,
// word types holding containers too, entries outside every lesson.
const char* const kKvtml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE kvtml PUBLIC "kvtml2.dtd" "http://edu.kde.org/kvtml/kvtml2.dtd">
<kvtml version="2.0">
  <information>
    <generator>flash cards 2.1</generator>
    <title>Animals and food</title>
    <date>2024-03-01</date>
  </information>
  <identifiers>
    <identifier id="0">
      <name>English</name>
      <locale>en</locale>
      <article><singular><definite><male>the</male></definite></singular></article>
    </identifier>
    <identifier id="1">
      <name>Chinese</name>
      <locale>zh_CN</locale>
    </identifier>
  </identifiers>
  <entries>
    <entry id="0">
      <translation id="0"><text>cat</text></translation>
      <translation id="1"><text>猫</text><grade><currentgrade>2</currentgrade><count>3</count></grade></translation>
    </entry>
    <entry id="1">
      <translation id="0"><text> dog </text><comment>pet</comment></translation>
      <translation id="1"><text>狗</text></translation>
    </entry>
    <entry id="2">
      <translation id="0"><text>apple</text><image>pics/apple.png</image></translation>
      <translation id="1"><text>苹果</text></translation>
    </entry>
    <entry id="3">
      <translation id="0"><text>ice cream</text></translation>
      <translation id="1"><text>冰淇淋</text></translation>
    </entry>
    <entry id="4">
      <translation id="0"><text>hello</text></translation>
      <translation id="1"><text>你好</text></translation>
    </entry>
    <entry id="5">
      <translation id="0"><text>goodbye</text></translation>
      <translation id="1"><text>再见</text></translation>
    </entry>
    <entry id="6">
      <translation id="0"><text>red</text></translation>
      <translation id="1"><text>红色</text></translation>
    </entry>
  </entries>
  <lessons>
    <container>
      <name>Lesson 1 Animals</name>
      <inpractice>true</inpractice>
      <entry id="1"/>
      <container>
        <name>Lesson 2 Food</name>
        <entry id="3"/>
        <entry id="2"/>
      </container>
      <entry id="0"/>
    </container>
    <container>
      <name>Lesson 3 Colours</name>
      <entry id="6"/>
    </container>
  </lessons>
  <wordtypes>
    <container><name>Noun</name><entry id="4"/></container>
  </wordtypes>
</kvtml>
)";

// Units with their words, "unit: english=chinese picture", and notes, "line: message".
struct Flat
{
    QStringList words;
    QStringList notes;
};

Flat flatten(const ImportResult& result, const QString& dir)
{
    if (const auto* error = std::get_if<CourseError>(&result))
        return {{}, {QStringLiteral("error %1: %2").arg(error->line).arg(error->message)}};
    const CourseImport& imported = std::get<CourseImport>(result);
    Flat flat;
    for (const CourseWord& w : imported.course.words) {
        const CourseUnit& unit =
            *std::find_if(imported.course.units.begin(), imported.course.units.end(),
                          [&w](const CourseUnit& u) { return u.book == w.book && u.id == w.unit; });
        const QString book = imported.course.books[static_cast<size_t>(w.book)].name;
        flat.words << QStringLiteral("%1/%2: %3=%4 %5")
                          .arg(book, unit.name, w.english, w.chinese, QString(w.picture.value).remove(dir));
    }
    for (const CourseError& note : imported.notes)
        flat.notes << QStringLiteral("%1: %2").arg(note.line).arg(note.message);
    return flat;
}

// What a spreadsheet saves as "Unicode text": UTF-16 with a byte order mark.
QByteArray utf16(const char* text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return encoder(QString::fromUtf8(text));
}

struct ImportCase
{
    const char* name;
    const char* file;
    QByteArray bytes;
    ImportOptions options;
    QStringList words;
    QStringList notes; // each note starts with one of these, in order
};

void PrintTo(const ImportCase& c, std::ostream* os)
{
    *os << c.name;
}

class Imports : public ::testing::TestWithParam<ImportCase>
{};

TEST_P(Imports, ReadEveryWordIntoItsUnitAndReportEveryProblem)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(GetParam().file));
    WriteFile(path, GetParam().bytes);
    const Flat flat = flatten(ImportCourse(path, GetParam().options), dir.path());
    EXPECT_EQ(flat.words, GetParam().words);
    ASSERT_EQ(flat.notes.size(), GetParam().notes.size()) << flat.notes.join('\n').toStdString();
    for (int i = 0; i < flat.notes.size(); ++i)
        EXPECT_TRUE(flat.notes[i].startsWith(GetParam().notes[i])) << flat.notes[i].toStdString();
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(CourseImport, Imports, ::testing::Values(
    ImportCase{"SpreadsheetCsv", "words.csv",
        "\xEF\xBB\xBFWord;Meaning;Unit;Notes;Picture\r\n\"ice cream\";\"冰淇淋; 雪糕\";\"Unit 1, food\";x;emoji:🍦\r\n"
        "apple;\"苹果\r\n(水果)\";\"Unit 1, food\";;pics/apple.jpg\r\n\"say \"\"hi\"\"\";打招呼;Unit 2;;\r\n;空;Unit 2\r\n"
        "I;我;Unit 2\r\n\"a\nb\";甲乙;Unit 2\r\napple;苹果;\"Unit 1, food\"\r\nbook;;\r\npen;钢笔;\"Unit 1, food\"\r\n",
        {{}, {}, QStringLiteral("三年级上册"), 10},
        {"三年级上册/Unit 1, food: ice cream=冰淇淋; 雪糕 🍦", "三年级上册/Unit 1, food: apple=苹果 (水果) /pics/apple.jpg",
         "三年级上册/Unit 1, food: pen=钢笔 ", "三年级上册/Unit 2: say \"hi\"=打招呼 ", "三年级上册/Unit 3: book= "},
        {"1: column \"Notes\" is not read", "3: the Chinese meaning spans several lines", "6: the English text is empty",
         "7: the one-letter word \"I\"", "8: the English text \"a\xEF\xBF\xBD" "b\" contains '/' or a control character",
         "10: \"apple\" is already in this unit (line 3); kept the first", "11: missing Chinese meaning of \"book\""}},
    ImportCase{"TabsWithBooksAndColumnsByNumberAndName", "words.tsv",
        "sep=\t\nen\tzh\tbook\tnote\ncat\t猫\tB1\tmao\ndog\t狗\tB2\tgou\n",
        {QStringLiteral("4"), QStringLiteral("en"), {}, 10},
        {"B1/Unit 1: mao=cat ", "B2/Unit 1: gou=dog "}, {"2: column \"zh\" is not read"}},
    ImportCase{"UnicodeText", "words.txt", utf16("English\tChinese\r\nsay \"hi\"\t打招呼\r\n"), {},
        {"words/Unit 1: say \"hi\"=打招呼 "}, {}},
    ImportCase{"PlainListInUnitsOfTwo", "list.txt",
        "English\t英语\n# a comment\n\nhello\t你好\t\ngood morning\t早上好\n  cat  \n",
        {{}, {}, {}, 2},
        {"list/Unit 1: English=英语 ", "list/Unit 1: hello=你好 ", "list/Unit 2: good morning=早上好 ", "list/Unit 2: cat= "},
        {"6: missing Chinese meaning of \"cat\""}},
    ImportCase{"KvtmlLessonsFlattenedInOrder", "animals.kvtml", kKvtml, {{}, {}, {}, 1},
        {"Animals and food/Lesson 1 Animals: dog=狗 ", "Animals and food/Lesson 1 Animals: cat=猫 ",
         "Animals and food/Lesson 2 Food: ice cream=冰淇淋 ", "Animals and food/Lesson 2 Food: apple=苹果 ",
         "Animals and food/Lesson 3 Colours: red=红色 ", "Animals and food/Unit 4: hello=你好 ",
         "Animals and food/Unit 5: goodbye=再见 "},
        {"29: entry 2: its picture \"pics/apple.png\" is left out"}},
    ImportCase{"KvtmlTranslationsPickedByNumberAndName", "animals.kvtml", kKvtml,
        {QStringLiteral("zh_CN"), QStringLiteral("0"), QStringLiteral("Food"), 10},
        {"Food/Lesson 1 Animals: 狗=dog ", "Food/Lesson 1 Animals: 猫=cat ", "Food/Lesson 2 Food: 冰淇淋=ice cream ",
         "Food/Lesson 2 Food: 苹果=apple ", "Food/Lesson 3 Colours: 红色=red ", "Food/Unit 4: 你好=hello ",
         "Food/Unit 4: 再见=goodbye "}, {}},
    ImportCase{"MistypedCourseSource", "c.tsv", "versoin\tV\tT\nbook\t0\tB\n", {}, {}, {"error 1: this line has 3 columns"}},
    ImportCase{"UnclosedQuote", "bad.csv", "English,Chinese\ncat,猫\n\"dog,狗\nfish,鱼\n", {}, {}, {"error 3: a quoted cell is not closed"}},
    ImportCase{"NoEnglishColumn", "bad.csv", "Chinese,Notes\n猫,x\n", {}, {}, {"error 1: no English column"}},
    ImportCase{"UnknownIdentifier", "a.kvtml", kKvtml, {QStringLiteral("French"), {}, {}, 10}, {},
        {"error 0: --english \"French\": no such identifier (0 \"English\", 1 \"Chinese\")"}},
    ImportCase{"KvtmlVersionOne", "old.kvtml", "<?xml version=\"1.0\"?>\n<kvtml version=\"1.0\"><e><o>cat</o></e></kvtml>", {}, {},
        {"error 2: KVTML version \"1.0\" is not read"}},
    ImportCase{"BrokenXml", "a.kvtml", "<kvtml version=\"2.0\">\n<entries>\n<entry id=\"0\">\n</kvtml>", {}, {},
        {"error 4: not a well-formed KVTML file"}},
    ImportCase{"NotUtf8", "list.txt", "cat\t猫\ndog\t\xB9\xB7\n", {}, {}, {"error 2: not text in UTF-8"}},
    ImportCase{"CourseSourceAlready", "c.tsv", "# course\nversion\tV\tT\n", {}, {}, {"error 0: this is a course source already"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Lines of a course source, whether it was typed by hand or written by import, stay its own.
TEST(CourseImport, CourseSourcesAreToldFromWordLists)
{
    const std::pair<const char*, CourseFileFormat> cases[] = {
        {"\n# c\nversion\tV\tT\n", CourseFileFormat::CourseSource},
        {"book\t0\tB\nversion\tV\tT\n", CourseFileFormat::CourseSource},
        {"version\t版本\n", CourseFileFormat::PlainList},
        {"word\t单词\nbook\t书\n", CourseFileFormat::PlainList},
        {"Word\tmeaning\nbook\t书\n", CourseFileFormat::Spreadsheet},
        {"<?xml version=\"1.0\"?><kvtml/>", CourseFileFormat::Kvtml}};
    QTemporaryDir dir;
    for (const auto& [text, format] : cases) {
        WriteFile(dir.filePath("words.txt"), text);
        const auto detected = DetectCourseFileFormat(dir.filePath("words.txt"), {});
        ASSERT_TRUE(std::holds_alternative<CourseFileFormat>(detected)) << text;
        EXPECT_EQ(std::get<CourseFileFormat>(detected), format) << text;
    }
}

QByteArray run(const QStringList& args, int* exitCode)
{
    QProcess tool;
    tool.start(QStringLiteral(LEXORA_COURSE_TOOL), args);
    EXPECT_TRUE(tool.waitForFinished(60000));
    *exitCode = tool.exitCode();
    return tool.readAllStandardError();
}

// A vocabulary file imported, built straight from the file and read back as Lexora reads its
// course: the same words in the same order in the same units; the written source holds the same.
TEST(CourseImport, VocabularyFileBuildsIntoTheCourseOfItsLessons)
{
    QTemporaryDir dir;
    const QString kvtml = dir.filePath("animals.kvtml");
    WriteFile(kvtml, kKvtml);
    int exitCode = -1;
    run({"import", kvtml, "--out", dir.filePath("source/animals.tsv"), "--unit-size", "1"}, &exitCode);
    ASSERT_EQ(exitCode, 0);
    const QByteArray errors =
        run({"build", kvtml, "--out", dir.filePath("stage"), "--unit-size", "1"}, &exitCode);
    ASSERT_EQ(exitCode, 0) << errors.toStdString();
    EXPECT_TRUE(errors.contains((kvtml + ":29: entry 2: its picture").toUtf8())) << errors.toStdString();

    test::FakePrompter prompter;
    SystemRandom random;
    WordStore store(dir.filePath("stage/Lexora"), prompter, random);
    ASSERT_TRUE(store.LoadSettings());
    ASSERT_TRUE(store.LoadBookUnits(0));
    QStringList built;
    for (const CBookUnit& unit : store.catalogue().units()) {
        ASSERT_TRUE(store.LoadUnitWords(0, unit.UnitID));
        for (int i = 0; i < store.words().count(); ++i)
            built << unit.UnitName + ": " + store.words().records()[static_cast<size_t>(i)].English;
    }
    const QStringList lessons = {"Lesson 1 Animals: dog", "Lesson 1 Animals: cat", "Lesson 2 Food: ice cream",
                                 "Lesson 2 Food: apple",  "Lesson 3 Colours: red", "Unit 4: hello",
                                 "Unit 5: goodbye"};
    EXPECT_EQ(built, lessons);
    const auto source = ReadCourseSource(dir.filePath("source/animals.tsv"));
    ASSERT_TRUE(std::holds_alternative<CourseSource>(source));
    QStringList written;
    for (const CourseWord& w : std::get<CourseSource>(source).words)
        written << std::get<CourseSource>(source).units[static_cast<size_t>(w.unit)].name + ": " + w.english;
    EXPECT_EQ(written, lessons);
}

// Every missing meaning is named at once, by the word list's own lines, and nothing is built.
TEST(CourseImport, BuildRefusesMissingMeaningsNamingEveryRow)
{
    QTemporaryDir dir;
    WriteFile(dir.filePath("words.csv"), "English,Chinese\ncat,\ndog,狗\nfish\n");
    int exitCode = -1;
    const QByteArray errors =
        run({"build", dir.filePath("words.csv"), "--out", dir.filePath("stage")}, &exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(
        errors.contains("words.csv:2: missing Chinese meaning on 2 rows, fill them in: line 2 \"cat\", "
                        "line 4 \"fish\"\n"))
        << errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("stage")));
}

} // namespace
