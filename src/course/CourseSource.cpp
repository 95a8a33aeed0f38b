#include "course/CourseSource.h"

#include "store/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QStringDecoder>
#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <tuple>

namespace lexora {

namespace {

constexpr int kMaxId = std::numeric_limits<std::int16_t>::max();
// A media name plus ".pet" or ".abw" must fit one file name of the file system.
constexpr int kMaxNameBytes = 255 - 4;

const QString kEmojiPrefix = QStringLiteral("emoji:");

struct Fail
{
    CourseError error;
};

[[noreturn]] void fail(int line, const QString& message)
{
    throw Fail{{line, message}};
}

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

int parseId(const QString& text, const char* what, int line)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    const bool digitsOnly =
        !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    if (!ok || !digitsOnly || value > kMaxId)
        fail(line, QStringLiteral("%1 id %2 is not a number from 0 to %3")
                       .arg(QLatin1String(what), quoted(text))
                       .arg(kMaxId));
    return value;
}

bool isReservedStem(const QString& stem)
{
    for (const char* name : {"FeatureTable", "VersionInfo", "History"}) {
        if (stem.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return stem.startsWith(QStringLiteral("sqlite_"), Qt::CaseInsensitive);
}

class Parser
{
public:
    explicit Parser(QString baseDir) : m_baseDir(std::move(baseDir)) {}

    void line(int number, const QStringList& fields);
    CourseSource finish();

private:
    void need(const QStringList& fields, const QStringList& columns, int optional = 0,
              const QString& mayBeEmpty = {});
    void version(const QStringList& f);
    void courseId(const QStringList& f);
    void book(const QStringList& f);
    void unit(const QStringList& f);
    void word(const QStringList& f);
    CoursePicture picture(const QString& text);
    QString mediaFile(const QString& text) const;

    QString m_baseDir;
    int m_line = 0;
    int m_versionLine = 0;
    CourseSource m_source;
    std::map<int, CourseBook> m_books;
    std::map<std::pair<int, int>, CourseUnit> m_units;
};

void Parser::line(int number, const QStringList& fields)
{
    m_line = number;
    const QString& kind = fields.front();
    if (kind == QLatin1String("version"))
        version(fields);
    else if (kind == QLatin1String("id"))
        courseId(fields);
    else if (kind == QLatin1String("book"))
        book(fields);
    else if (kind == QLatin1String("unit"))
        unit(fields);
    else if (kind == QLatin1String("word"))
        word(fields);
    else
        fail(m_line,
             QStringLiteral("unknown line kind %1: expected version, id, book, unit or word").arg(quoted(kind)));
}

// Columns after the kind, required ones first; trailing empty columns are allowed because
// spreadsheets like to write them.
void Parser::need(const QStringList& fields, const QStringList& columns, int optional,
                  const QString& mayBeEmpty)
{
    QStringList names{fields.front()};
    for (int i = 0; i < columns.size(); ++i)
        names << (i < columns.size() - optional ? columns[i]
                                                : QLatin1Char('[') + columns[i] + QLatin1Char(']'));
    const QString layout = names.join(QStringLiteral(", "));
    const auto filled =
        std::find_if(fields.rbegin(), fields.rend(), [](const QString& f) { return !f.isEmpty(); });
    if (fields.rend() - filled > columns.size() + 1)
        fail(m_line, QStringLiteral("too many columns: a %1 line has %2").arg(fields.front(), layout));
    for (int i = 0; i < columns.size() - optional; ++i) {
        if (fields.value(i + 1).isEmpty() && columns[i] != mayBeEmpty)
            fail(m_line,
                 QStringLiteral("missing %1: a %2 line has %3").arg(columns[i], fields.front(), layout));
    }
}

void Parser::version(const QStringList& f)
{
    need(f, {QStringLiteral("name"), QStringLiteral("table stem")});
    if (m_versionLine != 0)
        fail(m_line, QStringLiteral("a second version line (the first is on line %1)").arg(m_versionLine));
    if (!IsValidTableStem(f[2]) || isReservedStem(f[2]))
        fail(m_line,
             QStringLiteral("bad table stem %1: use letters, digits and '_', not starting with a digit, "
                            "and not FeatureTable, VersionInfo or History")
                 .arg(quoted(f[2])));
    m_versionLine = m_line;
    m_source.versionName = f[1];
    m_source.versionDB = f[2];
}

void Parser::courseId(const QStringList& f)
{
    need(f, {QStringLiteral("course identity")});
    if (!m_source.courseId.isEmpty())
        fail(m_line, QStringLiteral("a second id line"));
    if (!IsValidCourseId(f[1]))
        fail(m_line, QStringLiteral("bad course identity %1: use letters, digits and '-', at most %2")
                         .arg(quoted(f[1]))
                         .arg(kMaxCourseIdLength));
    m_source.courseId = f[1];
}

void Parser::book(const QStringList& f)
{
    need(f, {QStringLiteral("book id"), QStringLiteral("name")});
    const int id = parseId(f[1], "book", m_line);
    auto [it, added] = m_books.try_emplace(id, CourseBook{id, f[2], m_line});
    if (!added && it->second.name != f[2])
        fail(m_line, QStringLiteral("book %1 has two names: %2 (line %3) and %4")
                         .arg(id)
                         .arg(quoted(it->second.name))
                         .arg(it->second.line)
                         .arg(quoted(f[2])));
}

void Parser::unit(const QStringList& f)
{
    need(f, {QStringLiteral("book id"), QStringLiteral("unit id"), QStringLiteral("name")});
    const int bookId = parseId(f[1], "book", m_line);
    const int id = parseId(f[2], "unit", m_line);
    if (!m_books.count(bookId))
        fail(m_line, QStringLiteral("unit of book %1, which has no book line before it").arg(bookId));
    auto [it, added] = m_units.try_emplace({bookId, id}, CourseUnit{bookId, id, f[3], m_line});
    if (!added && it->second.name != f[3])
        fail(m_line, QStringLiteral("unit %1 of book %2 has two names: %3 (line %4) and %5")
                         .arg(id)
                         .arg(bookId)
                         .arg(quoted(it->second.name))
                         .arg(it->second.line)
                         .arg(quoted(f[3])));
}

QString Parser::mediaFile(const QString& text) const
{
    return QDir::cleanPath(QDir(m_baseDir).absoluteFilePath(text));
}

CoursePicture Parser::picture(const QString& text)
{
    if (text.isEmpty())
        return {};
    if (text.startsWith(kEmojiPrefix)) {
        const QString emoji = text.mid(kEmojiPrefix.size()).trimmed();
        if (emoji.isEmpty())
            fail(m_line, QStringLiteral("emoji picture without an emoji"));
        return {CoursePicture::Kind::Emoji, emoji};
    }
    return {CoursePicture::Kind::File, mediaFile(text)};
}

void Parser::word(const QStringList& f)
{
    need(f,
         {QStringLiteral("book id"), QStringLiteral("unit id"), QStringLiteral("English"),
          QStringLiteral("Chinese"), QStringLiteral("picture"), QStringLiteral("voice")},
         2, QStringLiteral("Chinese")); // missing meanings are named all at once in finish()
    CourseWord w;
    w.line = m_line;
    w.book = parseId(f[1], "book", m_line);
    w.unit = parseId(f[2], "unit", m_line);
    if (!m_units.count({w.book, w.unit}))
        fail(m_line, QStringLiteral("word of unit %1 of book %2, which has no unit line before it")
                         .arg(w.unit)
                         .arg(w.book));
    w.english = f[3];
    w.chinese = f.value(4);
    w.picture = picture(f.value(5));
    if (!f.value(6).isEmpty())
        w.voiceFile = mediaFile(f[6]);
    m_source.words.push_back(std::move(w));
}

CourseSource Parser::finish()
{
    if (m_versionLine == 0)
        fail(0, QStringLiteral("no version line (version, name, table stem)"));
    for (const auto& [id, book] : m_books)
        m_source.books.push_back(book);
    for (const auto& [key, unit] : m_units)
        m_source.units.push_back(unit);
    if (auto error = CheckCourse(m_source))
        throw Fail{*error};
    return std::move(m_source);
}

// The rules of a course's structure, each failure with its line; the earliest line is reported.
class Checker
{
public:
    explicit Checker(const CourseSource& course) : m_course(course) {}
    std::optional<CourseError> run();

private:
    void fail(int line, const QString& message)
    {
        if (!m_error || (line > 0 && (m_error->line == 0 || line < m_error->line)))
            m_error = CourseError{line, message};
    }
    void numbering();
    void words();
    void mediaFile(const QString& path, int line, const char* what, const QStringList& suffixes);

    const CourseSource& m_course;
    std::optional<CourseError> m_error;
};

void Checker::numbering()
{
    if (m_course.books.empty())
        fail(0, QStringLiteral("no books"));
    // Books and units are found by position, so their numbers must run 0, 1, 2, ... without gaps.
    int expectedBook = 0;
    for (const CourseBook& book : m_course.books) {
        if (book.id != expectedBook) {
            fail(book.line,
                 QStringLiteral("book numbers must run 0, 1, 2, ... without gaps: book %1 is missing")
                     .arg(expectedBook));
            break;
        }
        ++expectedBook;
    }
    std::map<std::pair<int, int>, int> wordCount;
    for (const CourseWord& w : m_course.words)
        ++wordCount[{w.book, w.unit}];
    int expectedUnit = 0;
    int currentBook = -1;
    std::set<int> booksWithUnits;
    for (const CourseUnit& unit : m_course.units) {
        if (unit.book != currentBook) {
            currentBook = unit.book;
            expectedUnit = 0;
        }
        booksWithUnits.insert(unit.book);
        if (unit.id != expectedUnit)
            fail(unit.line,
                 QStringLiteral("unit numbers of book %1 must run 0, 1, 2, ... without gaps: unit %2 is "
                                "missing")
                     .arg(unit.book)
                     .arg(expectedUnit));
        expectedUnit = unit.id + 1;
        if (!wordCount.count({unit.book, unit.id}))
            fail(unit.line, QStringLiteral("unit %1 of book %2 has no words").arg(unit.id).arg(unit.book));
    }
    for (const CourseBook& book : m_course.books) {
        if (!booksWithUnits.count(book.id))
            fail(book.line, QStringLiteral("book %1 has no units").arg(book.id));
    }
}

void Checker::mediaFile(const QString& path, int line, const char* what, const QStringList& suffixes)
{
    if (!suffixes.contains(QFileInfo(path).suffix().toLower()))
        fail(line, QStringLiteral("%1 file %2 must end in .%3")
                       .arg(QLatin1String(what), quoted(QFileInfo(path).fileName()),
                            suffixes.join(QStringLiteral(" or ."))));
    else if (!QFileInfo(path).isFile())
        fail(line, QStringLiteral("%1 file not found: %2").arg(QLatin1String(what), path));
}

void Checker::words()
{
    std::set<std::pair<int, int>> units;
    for (const CourseUnit& unit : m_course.units)
        units.insert({unit.book, unit.id});
    std::map<QString, const CourseWord*> firstOf;
    std::map<std::tuple<QString, int, int>, int> placed; // English, book, unit: its line
    for (const CourseWord& w : m_course.words) {
        if (!units.count({w.book, w.unit}))
            fail(w.line, QStringLiteral("word of unit %1 of book %2, which has no unit line before it")
                             .arg(w.unit)
                             .arg(w.book));
        if (const auto problem = MediaNameProblem(w.english)) {
            fail(w.line, *problem);
            continue;
        }
        if (w.picture.kind == CoursePicture::Kind::File)
            mediaFile(w.picture.value, w.line, "picture", {QStringLiteral("jpg"), QStringLiteral("jpeg")});
        if (!w.voiceFile.isEmpty())
            mediaFile(w.voiceFile, w.line, "voice", {QStringLiteral("wav")});
        const auto [first, added] = firstOf.try_emplace(w.english, &w);
        const auto [earlier, isNew] = placed.try_emplace({w.english, w.book, w.unit}, w.line);
        if (!isNew)
            fail(w.line,
                 QStringLiteral("%1 is already in this unit (line %2)").arg(quoted(w.english)).arg(earlier->second));
        // Every row of one English text shares its media files, so their sources must agree.
        if (!added && (first->second->picture.kind != w.picture.kind ||
                       first->second->picture.value != w.picture.value || first->second->voiceFile != w.voiceFile))
            fail(w.line,
                 QStringLiteral("%1 has another picture or voice on line %2; all rows of one word share "
                                "its media files")
                     .arg(quoted(w.english))
                     .arg(first->second->line));
    }
    if (auto missing = MissingMeanings(m_course))
        fail(missing->line, missing->message);
}

std::optional<CourseError> Checker::run()
{
    numbering();
    words();
    return m_error;
}

bool isComment(const QString& line)
{
    const QString trimmed = line.trimmed();
    return trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#'));
}

} // namespace

QString CourseError::describe(const QString& file) const
{
    return line > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(message)
                    : QStringLiteral("%1: %2").arg(file, message);
}

std::optional<QString> MediaNameProblem(const QString& english)
{
    if (english.isEmpty())
        return QStringLiteral("the English text is empty");
    if (english == QLatin1String(".") || english == QLatin1String(".."))
        return QStringLiteral("the English text %1 cannot name a media file").arg(quoted(english));
    // Control characters also cover what a spreadsheet cell may hold: line breaks, tabs.
    const bool control = std::any_of(english.begin(), english.end(),
                                     [](QChar c) { return c.category() == QChar::Other_Control; });
    if (english.contains(QLatin1Char('/')) || control) {
        QString shown = english;
        std::replace_if(
            shown.begin(), shown.end(), [](QChar c) { return c.category() == QChar::Other_Control; },
            QChar(QChar::ReplacementCharacter));
        return QStringLiteral("the English text %1 contains '/' or a control character and cannot name a "
                              "media file")
            .arg(quoted(shown));
    }
    // "a.wav" to "Z.wav" are the spelling's letter sounds; the program would take them for the voice
    // of a one-letter word and encode them away.
    if (english.size() == 1 && english.front().isLetter() && english.front().unicode() < 0x80)
        return QStringLiteral(
                   "the one-letter word %1 would share its voice file with the letter sound %2.wav")
            .arg(quoted(english), english);
    if (english.toUtf8().size() > kMaxNameBytes)
        return QStringLiteral("the English text %1 is too long to name a media file").arg(quoted(english));
    return std::nullopt;
}

std::optional<CourseError> CheckCourse(const CourseSource& course)
{
    return Checker(course).run();
}

std::optional<CourseError> MissingMeanings(const CourseSource& source)
{
    // The first rows are named; a list of thousands would be one unreadable line.
    constexpr int kNamed = 20;
    QStringList rows;
    int count = 0;
    const CourseWord* first = nullptr;
    for (const CourseWord& word : source.words) {
        if (!word.chinese.isEmpty())
            continue;
        first = first ? first : &word;
        if (++count <= kNamed)
            rows << QStringLiteral("line %1 %2").arg(word.line).arg(quoted(word.english));
    }
    if (!first)
        return std::nullopt;
    if (count == 1)
        return CourseError{
            first->line,
            QStringLiteral("missing Chinese meaning of %1: fill it in").arg(quoted(first->english))};
    if (count > kNamed)
        rows << QStringLiteral("... and %1 more").arg(QLocale(QLocale::English).toString(count - kNamed));
    return CourseError{first->line, QStringLiteral("missing Chinese meaning on %1 rows, fill them in: %2")
                                        .arg(count)
                                        .arg(rows.join(QStringLiteral(", ")))};
}

bool IsOutsideFolder(const QString& path, const QString& folder)
{
    const auto real = [](const QString& p) {
        const QString canonical = QFileInfo(p).canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(p).absoluteFilePath()) : canonical;
    };
    const QString relative = QDir(real(folder)).relativeFilePath(real(path));
    return relative == QLatin1String("..") || relative.startsWith(QLatin1String("../")) ||
           QDir::isAbsolutePath(relative);
}

std::optional<CourseError> MediaOutsideFolder(const CourseSource& source, const QString& folder)
{
    for (const CourseWord& word : source.words) {
        if (word.picture.kind == CoursePicture::Kind::File && IsOutsideFolder(word.picture.value, folder))
            return CourseError{word.line,
                               QStringLiteral("图片在课程文件夹之外：%1 (take it with --allow-outside)")
                                   .arg(word.picture.value)};
        if (!word.voiceFile.isEmpty() && IsOutsideFolder(word.voiceFile, folder))
            return CourseError{word.line,
                               QStringLiteral("声音在课程文件夹之外：%1 (take it with --allow-outside)")
                                   .arg(word.voiceFile)};
    }
    return std::nullopt;
}

CourseParse ParseCourseSource(const QString& text, const QString& baseDir)
{
    Parser parser(baseDir);
    try {
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (int i = 0; i < lines.size(); ++i) {
            QString line = lines[i];
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            if (i == 0 && line.startsWith(QChar(0xFEFF)))
                line.remove(0, 1);
            if (isComment(line))
                continue;
            QStringList fields = line.split(QLatin1Char('\t'));
            for (QString& field : fields)
                field = field.trimmed();
            parser.line(i + 1, fields);
        }
        return parser.finish();
    } catch (const Fail& f) {
        return f.error;
    }
}

std::variant<QString, CourseError> DecodeCourseText(const QByteArray& bytes)
{
    QString text;
    const auto encoding = QStringConverter::encodingForData(bytes);
    if (encoding && *encoding != QStringConverter::Utf8) {
        QStringDecoder decoder(*encoding);
        text = decoder(bytes);
        if (decoder.hasError())
            return CourseError{0, QStringLiteral("not readable text")};
    } else {
        // Line by line, so that bad bytes are reported with their line.
        const QList<QByteArray> lines = bytes.split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
            const QString line = decoder(lines[i]);
            if (decoder.hasError())
                return CourseError{i + 1, QStringLiteral("not UTF-8 text")};
            text += (i > 0 ? QStringLiteral("\n") : QString()) + line;
        }
    }
    if (text.startsWith(QChar(QChar::ByteOrderMark)))
        text.remove(0, 1);
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

CourseParse ReadCourseSource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return CourseError{0, QStringLiteral("cannot read the file: %1").arg(file.errorString())};
    const auto text = DecodeCourseText(file.readAll());
    if (const auto* error = std::get_if<CourseError>(&text))
        return *error;
    return ParseCourseSource(std::get<QString>(text), QFileInfo(path).absolutePath());
}

} // namespace lexora
