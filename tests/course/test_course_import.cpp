#include "FakePrompter.h"
#include "MediaTestKit.h"
#include "course/CourseImport.h"
#include "store/Random.h"
#include "store/WordStore.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
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
    <title>Animals and food</title>
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
        {"27: entry 2: its picture \"pics/apple.png\" is left out"}},
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
    EXPECT_TRUE(errors.contains((kvtml + ":27: entry 2: its picture").toUtf8())) << errors.toStdString();

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

// Imports a list or vocabulary file with `chars` inside the value of `column` and checks the course
// source written from it.
void CheckWrittenSource(const QString& column, int cell, const QString& chars)
{
    const QString bad = QStringLiteral("x") + chars + QStringLiteral("y");
    QTemporaryDir dir;
    QString path = dir.filePath("words.csv");
    ImportOptions options;
    if (column == "KvtmlTitle") {
        path = dir.filePath("words.kvtml");
        QString title = bad.toHtmlEscaped();
        for (const QChar c : chars)
            title.replace(c, QStringLiteral("&#%1;").arg(c.unicode()));
        WriteFile(path,
                  QStringLiteral("<kvtml version=\"2.0\"><information><title>%1</title></information>"
                                 "<identifiers><identifier id=\"0\"><name>English</name></identifier>"
                                 "</identifiers><entries><entry id=\"0\"><translation id=\"0\"><text>cat"
                                 "</text></translation></entry></entries></kvtml>")
                      .arg(title)
                      .toUtf8());
    } else {
        QStringList cells = {"cat", "猫", "B", "U", "cat.jpg", "cat.wav"};
        if (column == "BookOption") {
            options.book = bad; // the book of rows that name none
            cells[2].clear();
        } else {
            cells[cell] = bad + (column == "Picture" ? ".jpg" : column == "Voice" ? ".wav" : "");
        }
        QString row;
        for (const QString& value : cells)
            row += (row.isEmpty() ? "\"" : ",\"") + value + "\"";
        WriteFile(path, ("English,Chinese,Book,Unit,Picture,Voice\n" + row + "\ndog,狗,,,,\n").toUtf8());
    }
    const ImportResult imported = ImportCourse(path, options);
    if (column == "KvtmlTitle" && chars == "\x1b") {
        // XML has no escape character at all, not even as a reference: the file is refused.
        ASSERT_TRUE(std::holds_alternative<CourseError>(imported));
        EXPECT_TRUE(std::get<CourseError>(imported).message.contains("well-formed"));
        return;
    }
    ASSERT_TRUE(std::holds_alternative<CourseImport>(imported))
        << qPrintable(std::get<CourseError>(imported).message);
    const QStringList lines =
        CourseSourceText(std::get<CourseImport>(imported), path, dir.path()).split('\n');
    for (const QString& line : lines) {
        const QStringList fields = line.split('\t');
        const int most = fields[0] == "word" ? 7 : fields[0] == "unit" ? 4 : 3;
        if (!line.startsWith('#')) {
            EXPECT_LE(fields.size(), most) << qPrintable(line);
        }
        for (const QChar c : line)
            EXPECT_TRUE(c == '\t' || c.category() != QChar::Other_Control) << qPrintable(line);
    }
    const QString words = lines.filter(QRegularExpression("^word\t")).join('|');
    // The English text names files: a row with a bad one is left out, not mended.
    const int expected = column == "English" || column == "KvtmlTitle" ? 1 : 2;
    EXPECT_EQ(lines.filter(QRegularExpression("^word\t")).size(), expected) << qPrintable(words);
    const std::vector<CourseError>& notes = std::get<CourseImport>(imported).notes;
    EXPECT_TRUE(std::any_of(notes.begin(), notes.end(), [](const CourseError& note) {
        return note.message.contains("control character") || note.message.contains("spans several lines");
    })) << "the author is told";
}

// A TAB, line break or other control character in any cell or option value is replaced, with a note:
// the written source keeps one line a record and no more columns than its kind has.
TEST(WrittenSource, NoValueAddsAColumnOrALine)
{
    // The cells of a list's row in their order, then the book option and a vocabulary file's title.
    const QStringList columns = {"English", "Chinese", "Book",       "Unit",
                                 "Picture", "Voice",   "BookOption", "KvtmlTitle"};
    for (const char* utf8 : {"\t", "\n", "\r", "\x1b", "\x7f", "\u0085"}) {
        const QString chars = QString::fromUtf8(utf8);
        for (int cell = 0; cell < columns.size(); ++cell) {
            SCOPED_TRACE(QStringLiteral("%1 holding U+%2")
                             .arg(columns[cell])
                             .arg(chars[0].unicode(), 4, 16, QChar('0'))
                             .toStdString());
            CheckWrittenSource(columns[cell], cell, chars);
        }
    }
}

// Nesting deeper than any stack: lessons are read without recursion.
TEST(CourseImport, AHundredThousandNestedLessonsAreReadWithoutRecursion)
{
    constexpr int kDepth = 100000;
    QByteArray kvtml =
        "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"><name>English</name>"
        "</identifier></identifiers><entries><entry id=\"0\"><translation id=\"0\"><text>cat</text>"
        "</translation></entry></entries><lessons>";
    kvtml += QByteArray("<container>").repeated(kDepth) + "<name>deep</name><entry id=\"0\"/>" +
             QByteArray("</container>").repeated(kDepth) + "</lessons></kvtml>";
    QTemporaryDir dir;
    WriteFile(dir.filePath("deep.kvtml"), kvtml);
    const Flat flat = flatten(ImportCourse(dir.filePath("deep.kvtml"), {}), dir.path());
    EXPECT_EQ(flat.words, QStringList{"deep/deep: cat= "});
}

// A picture or voice outside the word list's folder is noted, and build takes such a file only when
// told to.
TEST(CourseImport, MediaOutsideTheFolderAreNotedAndBuildRefusesThemUnlessAllowed)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("list"));
    WriteFile(dir.filePath("hello.wav"), test::TestWav(PcmFormat{1, 16, 16000}, 1600, 1));
    WriteFile(dir.filePath("list/words.csv"),
              ("English,Chinese,Picture,Voice\nhello,你好,emoji:👋,../hello.wav\ncat,猫," +
               dir.filePath("cat.jpg") + ",\n")
                  .toUtf8());
    const Flat flat = flatten(ImportCourse(dir.filePath("list/words.csv"), {}), dir.path());
    EXPECT_EQ(flat.notes, (QStringList{"2: 声音在课程文件夹之外：" + dir.filePath("hello.wav"),
                                       "3: 图片在课程文件夹之外：" + dir.filePath("cat.jpg")}));

    WriteFile(dir.filePath("list/words.csv"),
              "English,Chinese,Picture,Voice\nhello,你好,emoji:👋,../hello.wav\n");
    int exitCode = -1;
    QByteArray errors =
        run({"build", dir.filePath("list/words.csv"), "--out", dir.filePath("stage")}, &exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(errors.contains("words.csv:2: 声音在课程文件夹之外：")) << errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("stage")));
    errors = run({"build", dir.filePath("list/words.csv"), "--out", dir.filePath("stage"), "--allow-outside",
                  "--quiet"},
                 &exitCode);
    EXPECT_EQ(exitCode, 0) << errors.toStdString();
}

// A WAV whose header would bring SDL's converters down (256 channels) is refused with its reason and
// exit status 1, never a signal, by the reading check and by build.
TEST(CourseTools, HostileWavHeadersAreRefusedNotCrashedOn)
{
    QByteArray channels = test::TestWav(PcmFormat{1, 16, 16000}, 1600, 1);
    channels[22] = 0;
    channels[23] = 1;
    QTemporaryDir dir;
    WriteFile(dir.filePath("hello.wav"), channels);
    WriteFile(dir.filePath("course.tsv"),
              "version\tV\tT\nbook\t0\tB\nunit\t0\t0\tU\nword\t0\t0\thello\t你好\temoji:👋\thello.wav\n");
    for (const QStringList& args :
         {QStringList{"check-reading", "hello", dir.filePath("hello.wav")},
          QStringList{"build", dir.filePath("course.tsv"), "--out", dir.filePath("stage")}}) {
        QProcess tool;
        tool.start(QStringLiteral(LEXORA_COURSE_TOOL), args);
        ASSERT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit) << qPrintable(args[0]);
        EXPECT_EQ(tool.exitCode(), 1) << qPrintable(args[0]);
        EXPECT_TRUE(tool.readAllStandardError().contains("256 channels")) << qPrintable(args[0]);
    }
}

} // namespace
