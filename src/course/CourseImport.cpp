#include "course/CourseImport.h"

#include "course/ImportKvtml.h"
#include "course/ImportTable.h"
#include "course/TextDecoding.h"
#include "store/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <map>
#include <unordered_map>

namespace lexora {

namespace {

const QString kEmojiPrefix = QStringLiteral("emoji:");
const QString kFillIn = QStringLiteral("# FILL IN");
// Notes of one kind beyond these are counted, not listed: a list of repeats must not bury the rest.
constexpr int kNotesPerKind = 20;

// What a course source cannot hold in a column: TABs would add columns, line breaks lines.
const QRegularExpression& controlRun()
{
    static const QRegularExpression controls(QStringLiteral("\\s*[\\x00-\\x1f\\x7f-\\x9f]+\\s*"));
    return controls;
}

// The text as one column of a course source line.
QString flat(QString text)
{
    // Most values hold no control character at all; they are passed on without a regular expression.
    const bool clean = std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() <= 0x9f);
    });
    return clean ? text : text.replace(controlRun(), QStringLiteral(" "));
}

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

void sortByLine(std::vector<CourseError>& notes)
{
    std::stable_sort(notes.begin(), notes.end(),
                     [](const CourseError& a, const CourseError& b) { return a.line < b.line; });
}

ImportRow rowAt(int line)
{
    ImportRow row;
    row.line = line;
    return row;
}

// A file name as a course or book name: "grade3_words" reads "grade3 words".
QString readableName(QString fileName)
{
    static const QRegularExpression separators(QStringLiteral("[_\\s]+"));
    return fileName.replace(separators, QStringLiteral(" ")).trimmed();
}

struct Input
{
    CourseFileFormat format = CourseFileFormat::PlainList;
    QByteArray bytes;
    QString text;
    QString encoding;
};

// A course source starts, after comments, with one of its own records: "version" and two columns,
// or "book", "unit" or "word" and a number. Spreadsheet headers and plain lists do not.
bool isCourseSourceText(const QString& text)
{
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        QStringList fields = line.split(QLatin1Char('\t'));
        for (QString& field : fields)
            field = field.trimmed();
        static const QRegularExpression number(QStringLiteral("^[0-9]+$"));
        if (fields[0] == QLatin1String("version"))
            return fields.size() >= 3;
        return QStringList{"book", "unit", "word"}.contains(fields[0]) &&
               number.match(fields.value(1)).hasMatch();
    }
    return false;
}

std::variant<Input, CourseError> readInput(const QString& path, const ImportOptions& options)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return CourseError{0, QStringLiteral("cannot read the file: %1").arg(file.errorString())};
    Input input{CourseFileFormat::Kvtml, file.readAll(), {}, {}};
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QByteArray head = input.bytes.left(64).trimmed();
    if (suffix == QLatin1String("kvtml") || head.startsWith('<') || head.startsWith("\xEF\xBB\xBF<"))
        return input;
    auto text = DecodeWordListText(input.bytes, options.encoding);
    if (auto* error = std::get_if<CourseError>(&text))
        return *error;
    input.text = std::get<DecodedText>(text).text;
    input.encoding = std::get<DecodedText>(text).encoding;
    if (isCourseSourceText(input.text))
        input.format = CourseFileFormat::CourseSource;
    else if (suffix == QLatin1String("csv") || !options.english.isEmpty() || !options.chinese.isEmpty() ||
             IsSpreadsheetHeader(input.text))
        input.format = CourseFileFormat::Spreadsheet;
    else
        input.format = CourseFileFormat::PlainList;
    return input;
}

// Turns what a reader found into books, numbered units and checked words. Rows the course source
// would refuse are left out with a note; the first row of an English text in a unit is kept.
class Assembler
{
public:
    Assembler(const QString& path, const ImportOptions& options)
        : m_baseDir(QFileInfo(path).absolutePath()), m_options(options)
    {}
    ImportResult run(ImportList list, const QString& path);

private:
    struct Planned
    {
        QString name;
        int line = 0;
        std::vector<ImportRow> rows;
    };
    std::vector<Planned>& book(const QString& name);
    // A note of a kind that may come once a row is listed only the first few times.
    void note(const ImportRow& row, const QString& message, const char* kind = nullptr);
    QString oneLine(const QString& text, const char* what, const ImportRow& row);
    enum class Media
    {
        Picture,
        Voice
    };
    QString mediaPath(const QString& text, Media media, const ImportRow& row);
    void noteMissingMeanings();
    void summarizeUnlisted();
    void addUnit(int book, const Planned& planned);
    bool addWord(const ImportRow& row, int book, int unit, std::unordered_map<QString, int>* inUnit);
    CoursePicture picture(const QString& text, const ImportRow& row);
    QString courseName(const QString& title, const QString& fileName);
    QString path(const QString& text) const
    {
        return text.isEmpty() ? text : QDir::cleanPath(QDir(m_baseDir).absoluteFilePath(text));
    }

    QString m_baseDir;
    const ImportOptions& m_options;
    QString m_defaultBook;
    std::vector<std::pair<QString, std::vector<Planned>>> m_books;
    std::unordered_map<QString, size_t> m_bookIndex;
    std::map<int, int> m_unitsOf; // book -> units placed so far
    CourseImport m_result;
    std::unordered_map<QString, size_t> m_firstOf;  // English text -> its first word
    std::map<QString, std::pair<int, int>> m_noted; // kind -> listed, unlisted

public:
    // ImportCourse names the missing meanings; build stops at them with one error of its own.
    bool noteMissing = false;
};

std::vector<Assembler::Planned>& Assembler::book(const QString& name)
{
    const QString book = name.isEmpty() ? m_defaultBook : name;
    const auto [it, added] = m_bookIndex.try_emplace(book, m_books.size());
    if (added)
        m_books.push_back({book, {}});
    return m_books[it->second].second;
}

void Assembler::note(const ImportRow& row, const QString& message, const char* kind)
{
    if (kind) {
        auto& [listed, unlisted] = m_noted[QLatin1String(kind)];
        if (listed == kNotesPerKind) {
            ++unlisted;
            return;
        }
        ++listed;
    }
    const QString entry = row.entry.isEmpty() ? QString() : QStringLiteral("entry %1: ").arg(row.entry);
    m_result.notes.push_back({row.line, entry + message});
}

void Assembler::summarizeUnlisted()
{
    for (const auto& [kind, count] : m_noted) {
        if (count.second > 0)
            m_result.notes.push_back({0, QStringLiteral("... and %1 more %2, not listed")
                                             .arg(QLocale(QLocale::English).toString(count.second), kind)});
    }
}

// A spreadsheet cell may hold line breaks and TABs; a course source column cannot.
QString Assembler::oneLine(const QString& text, const char* what, const ImportRow& row)
{
    const QString joined = flat(text);
    if (joined == text)
        return joined.trimmed();
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
        note(row, QStringLiteral("the %1 spans several lines; joined into one").arg(QLatin1String(what)),
             "cells joined into one line");
    else
        note(row,
             QStringLiteral("the %1 holds a TAB or control character; replaced by a blank")
                 .arg(QLatin1String(what)),
             "cells with a TAB or control character");
    return joined.trimmed();
}

// A vocabulary file's own title names its course; otherwise --course-name does, or the file's name
// read as words, which the import report asks the author to replace.
QString Assembler::courseName(const QString& title, const QString& fileName)
{
    if (!title.isEmpty()) {
        const QString named = oneLine(title, "title", rowAt(0));
        if (!m_options.course.isEmpty() && m_options.course != named)
            m_result.notes.push_back({0, QStringLiteral("the file's own title %1 names the course; "
                                                        "--course-name %2 is not used")
                                             .arg(quoted(named), quoted(m_options.course))});
        return named;
    }
    if (!m_options.course.isEmpty())
        return oneLine(m_options.course, "course name", rowAt(0));
    m_result.namedAfterFile = true;
    return fileName;
}

// A picture or voice as the course source will name it: cleaned to one column, and noted when it
// lies outside the word list's folder (build takes such files only when told to).
QString Assembler::mediaPath(const QString& text, Media media, const ImportRow& row)
{
    const bool picture = media == Media::Picture;
    const QString cell = oneLine(text, picture ? "picture" : "voice", row);
    if (cell.isEmpty())
        return cell;
    const QString absolute = path(cell);
    if (IsOutsideFolder(absolute, m_baseDir))
        note(row,
             (picture ? QStringLiteral("图片在课程文件夹之外：%1")
                      : QStringLiteral("声音在课程文件夹之外：%1"))
                 .arg(absolute),
             "pictures or voices outside the folder");
    return absolute;
}

CoursePicture Assembler::picture(const QString& text, const ImportRow& row)
{
    if (text.isEmpty())
        return {};
    if (text.startsWith(kEmojiPrefix))
        return {CoursePicture::Kind::Emoji, oneLine(text.mid(kEmojiPrefix.size()), "picture", row)};
    return {CoursePicture::Kind::File, mediaPath(text, Media::Picture, row)};
}

void Assembler::noteMissingMeanings()
{
    for (const CourseWord& word : m_result.course.words) {
        if (word.chinese.isEmpty())
            note(rowAt(word.line),
                 QStringLiteral("missing Chinese meaning of %1: written empty for you to fill in")
                     .arg(quoted(word.english)),
                 "missing Chinese meanings");
    }
}

bool Assembler::addWord(const ImportRow& row, int book, int unit, std::unordered_map<QString, int>* inUnit)
{
    if (const auto problem = MediaNameProblem(row.english)) {
        note(row, *problem + QStringLiteral("; row left out"));
        return false;
    }
    if (const auto first = inUnit->find(row.english); first != inUnit->end()) {
        note(row,
             QStringLiteral("%1 is already in this unit (line %2); kept the first")
                 .arg(quoted(row.english))
                 .arg(first->second),
             "repeats of a word in its unit");
        return false;
    }
    inUnit->emplace(row.english, row.line);
    CourseWord word{book,
                    unit,
                    row.english,
                    oneLine(row.chinese, "Chinese meaning", row),
                    picture(row.picture, row),
                    mediaPath(row.voice, Media::Voice, row),
                    row.line};
    // All rows of one English text share its media files, so later rows take the first row's.
    const auto [first, added] = m_firstOf.try_emplace(word.english, m_result.course.words.size());
    if (!added) {
        const CourseWord& earlier = m_result.course.words[first->second];
        const bool same =
            (word.picture.kind == CoursePicture::Kind::None ||
             (word.picture.kind == earlier.picture.kind && word.picture.value == earlier.picture.value)) &&
            (word.voiceFile.isEmpty() || word.voiceFile == earlier.voiceFile);
        if (!same)
            note(row,
                 QStringLiteral("%1 takes the picture and voice of its first row (line %2)")
                     .arg(quoted(word.english))
                     .arg(earlier.line),
                 "rows that take the picture and voice of an earlier row");
        word.picture = earlier.picture;
        word.voiceFile = earlier.voiceFile;
    }
    m_result.course.words.push_back(std::move(word));
    return true;
}

void Assembler::addUnit(int book, const Planned& planned)
{
    const int unit = m_unitsOf[book];
    std::unordered_map<QString, int> inUnit;
    int words = 0;
    for (const ImportRow& row : planned.rows)
        words += addWord(row, book, unit, &inUnit) ? 1 : 0;
    const QString name = planned.name.isEmpty() ? QStringLiteral("Unit %1").arg(unit + 1)
                                                : oneLine(planned.name, "unit name", rowAt(planned.line));
    if (words == 0)
        m_result.notes.push_back(
            {planned.line, QStringLiteral("unit %1 has no words left; left out").arg(quoted(name))});
    else {
        m_result.course.units.push_back({book, unit, name, planned.line});
        ++m_unitsOf[book];
    }
}

ImportResult Assembler::run(ImportList list, const QString& path)
{
    const QString name = readableName(QFileInfo(path).completeBaseName());
    // The reader's notes first: the cleaning of the book name adds its own.
    m_result.notes = std::move(list.notes);
    m_defaultBook = oneLine(!m_options.book.isEmpty() ? m_options.book
                            : !list.title.isEmpty()   ? list.title
                                                      : name,
                            "book name", rowAt(0));
    m_result.columns = list.columns;
    for (ImportUnit& unit : list.units)
        book(unit.book).push_back({unit.name, unit.line, std::move(unit.rows)});
    // Words outside every unit fill units of unitSize words after the named units of their book.
    std::map<QString, int> looseIn;
    for (ImportRow& row : list.loose) {
        std::vector<Planned>& units = book(row.book);
        if (looseIn[row.book.isEmpty() ? m_defaultBook : row.book]++ % std::max(1, m_options.unitSize) == 0)
            units.push_back({{}, row.line, {}});
        units.back().rows.push_back(std::move(row));
    }
    for (const auto& [bookName, units] : m_books) {
        const int id = static_cast<int>(m_result.course.books.size());
        for (const Planned& planned : units)
            addUnit(id, planned);
        if (!m_result.course.units.empty() && m_result.course.units.back().book == id)
            m_result.course.books.push_back(
                {id, oneLine(bookName, "book name", rowAt(units.front().line)), units.front().line});
    }
    if (m_result.course.words.empty())
        return CourseError{0, QStringLiteral("no words to import")};
    static const QRegularExpression notStem(QStringLiteral("[^A-Za-z0-9]+"));
    const QString stem =
        QString(name).replace(notStem, QStringLiteral("_")).remove(QRegularExpression("^_+|_+$"));
    m_result.course.versionName = courseName(list.title, name);
    m_result.bookNamedAfterFile =
        m_options.book.isEmpty() && list.title.isEmpty() &&
        std::any_of(m_result.course.books.begin(), m_result.course.books.end(),
                    [this](const CourseBook& b) { return b.name == m_defaultBook; });
    m_result.course.versionDB = stem.isEmpty() ? QStringLiteral("Course") : QStringLiteral("Course_") + stem;
    if (noteMissing)
        noteMissingMeanings();
    sortByLine(m_result.notes);
    summarizeUnlisted();
    return std::move(m_result);
}

ImportResult importInput(const Input& input, const QString& path, const ImportOptions& options,
                         bool noteMissing)
{
    ImportRead read;
    switch (input.format) {
    case CourseFileFormat::CourseSource:
        return CourseError{0, QStringLiteral("this is a course source already; build it as it is")};
    case CourseFileFormat::Kvtml:
        read = ReadKvtml(input.bytes, options);
        break;
    case CourseFileFormat::Spreadsheet:
        read = ReadSpreadsheet(input.text, options);
        break;
    case CourseFileFormat::PlainList:
        read = ReadPlainList(input.text);
        break;
    }
    if (auto* error = std::get_if<CourseError>(&read))
        return *error;
    Assembler assembler(path, options);
    assembler.noteMissing = noteMissing;
    auto imported = assembler.run(std::move(std::get<ImportList>(read)), path);
    if (auto* result = std::get_if<CourseImport>(&imported))
        result->encoding = input.encoding;
    return imported;
}

} // namespace

std::variant<CourseFileFormat, CourseError> DetectCourseFileFormat(const QString& path,
                                                                   const ImportOptions& options)
{
    auto input = readInput(path, options);
    if (auto* error = std::get_if<CourseError>(&input))
        return *error;
    return std::get<Input>(input).format;
}

ImportResult ImportCourse(const QString& path, const ImportOptions& options)
{
    auto input = readInput(path, options);
    if (auto* error = std::get_if<CourseError>(&input))
        return *error;
    return importInput(std::get<Input>(input), path, options, true);
}

QString CourseSourceText(const CourseImport& imported, const QString& origin, const QString& targetDir)
{
    const CourseSource& course = imported.course;
    // Every value goes through flat(): whatever a reader let through, no value adds a column or a line.
    const QString originName = flat(QFileInfo(origin).fileName());
    QStringList lines = {
        QStringLiteral("# Lexora course source imported from %1 by lexora-course import").arg(originName),
        QStringLiteral("# (%1).").arg(flat(imported.columns)),
        QStringLiteral("#"),
        QStringLiteral("# One record a line, columns separated by TABs:"),
        QStringLiteral("#   version  NAME  TABLESTEM"),
        QStringLiteral("#   book     BOOK  NAME"),
        QStringLiteral("#   unit     BOOK  UNIT  NAME"),
        QStringLiteral("#   word     BOOK  UNIT  ENGLISH  CHINESE  [PICTURE]  [VOICE]"),
        QStringLiteral("# PICTURE is emoji:<emoji> or a JPEG path relative to this file; VOICE a WAV path"),
        QStringLiteral("# relative to this file. A word after \"%1\" has no Chinese meaning yet: write it")
            .arg(kFillIn),
        QStringLiteral("# into its CHINESE column; the course is not built until every meaning is there."),
        QString(),
        QStringLiteral("version\t%1\t%2").arg(flat(course.versionName), flat(course.versionDB)),
        // Every version of the course keeps this line: the learners' records follow it.
        QStringLiteral("id\t%1").arg(course.courseId.isEmpty() ? NewCourseId() : course.courseId),
    };
    const QDir target(targetDir);
    const auto relative = [&target](const QString& path) {
        return path.isEmpty() ? path : flat(target.relativeFilePath(path));
    };
    // Units by book and words by unit, gathered once: a long list must not be walked per unit.
    std::map<int, std::vector<const CourseUnit*>> unitsOf;
    for (const CourseUnit& unit : course.units)
        unitsOf[unit.book].push_back(&unit);
    std::map<std::pair<int, int>, std::vector<const CourseWord*>> wordsOf;
    for (const CourseWord& word : course.words)
        wordsOf[{word.book, word.unit}].push_back(&word);
    for (const CourseBook& book : course.books) {
        lines << QString() << QStringLiteral("book\t%1\t%2").arg(book.id).arg(flat(book.name));
        for (const CourseUnit* unit : unitsOf[book.id]) {
            lines << QString()
                  << QStringLiteral("unit\t%1\t%2\t%3").arg(book.id).arg(unit->id).arg(flat(unit->name));
            for (const CourseWord* word : wordsOf[{book.id, unit->id}]) {
                const CourseWord& w = *word;
                if (w.chinese.isEmpty())
                    lines << QStringLiteral("%1 the Chinese meaning of %2 (line %3 of %4)")
                                 .arg(kFillIn, quoted(flat(w.english)))
                                 .arg(w.line)
                                 .arg(originName);
                const QString picture =
                    w.picture.kind == CoursePicture::Kind::Emoji  ? kEmojiPrefix + flat(w.picture.value)
                    : w.picture.kind == CoursePicture::Kind::File ? relative(w.picture.value)
                                                                  : QString();
                QStringList fields = {QStringLiteral("word"),  QString::number(w.book),
                                      QString::number(w.unit), flat(w.english),
                                      flat(w.chinese),         picture,
                                      relative(w.voiceFile)};
                while (fields.size() > 5 && fields.back().isEmpty())
                    fields.removeLast();
                lines << fields.join(QLatin1Char('\t'));
            }
        }
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

std::optional<CourseError> WriteCourseSourceFile(const CourseImport& imported, const QString& origin,
                                                 const QString& path)
{
    if (QFileInfo(path).absoluteFilePath() == QFileInfo(origin).absoluteFilePath())
        return CourseError{0, QStringLiteral("the course source would replace the file it is imported from")};
    QSaveFile file(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray bytes = CourseSourceText(imported, origin, QFileInfo(path).absolutePath()).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return CourseError{0, QStringLiteral("cannot write %1: %2").arg(path, file.errorString())};
    return std::nullopt;
}

CourseParse ReadAnyCourse(const QString& path, const ImportOptions& options, std::vector<CourseError>* notes)
{
    auto input = readInput(path, options);
    if (auto* error = std::get_if<CourseError>(&input))
        return *error;
    if (std::get<Input>(input).format == CourseFileFormat::CourseSource) {
        // A course source names its course and books on its own lines; say so rather than ignore.
        if (!options.course.isEmpty() || !options.book.isEmpty())
            notes->push_back({0, QStringLiteral("a course source names its course and books itself; "
                                                "--course-name and --book-name are not used")});
        return ReadCourseSource(path);
    }
    auto imported = importInput(std::get<Input>(input), path, options, false);
    if (auto* error = std::get_if<CourseError>(&imported))
        return *error;
    CourseImport& result = std::get<CourseImport>(imported);
    *notes = result.notes;
    // Text that is not Unicode was read by a guess at its encoding; the author should know which.
    if (!result.encoding.isEmpty() && !result.encoding.startsWith(QLatin1String("UTF")))
        notes->insert(notes->begin(), {0, QStringLiteral("read as %1 text").arg(result.encoding)});
    if (result.bookNamedAfterFile)
        notes->insert(notes->begin(), {0, QStringLiteral("a book is named after the file: give it a name "
                                                         "with --book-name")});
    if (result.namedAfterFile)
        notes->insert(notes->begin(),
                      {0, QStringLiteral("the course is named %1 after its file: give it a name with "
                                         "--course-name")
                              .arg(quoted(result.course.versionName))});
    // The course source's own rules check the list; its lines are the list's own.
    if (auto error = CheckCourse(result.course))
        return *error;
    return std::move(result.course);
}

} // namespace lexora
