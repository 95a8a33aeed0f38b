#include "course/CourseImport.h"

#include "course/ImportKvtml.h"
#include "course/ImportTable.h"
#include "course/TextDecoding.h"
#include "store/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <map>

namespace lexora {

namespace {

const QString kEmojiPrefix = QStringLiteral("emoji:");
const QString kFillIn = QStringLiteral("# FILL IN");

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
    auto text = DecodeWordListText(input.bytes);
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
    void note(const ImportRow& row, const QString& message);
    QString oneLine(const QString& text, const char* what, const ImportRow& row);
    void addUnit(int book, const Planned& planned);
    bool addWord(const ImportRow& row, int book, int unit, std::map<QString, int>* inUnit);
    CoursePicture picture(const QString& text) const;
    QString courseName(const QString& title, const QString& fileName);
    QString path(const QString& text) const
    {
        return text.isEmpty() ? text : QDir::cleanPath(QDir(m_baseDir).absoluteFilePath(text));
    }

    QString m_baseDir;
    const ImportOptions& m_options;
    QString m_defaultBook;
    std::vector<std::pair<QString, std::vector<Planned>>> m_books;
    CourseImport m_result;
    std::map<QString, size_t> m_firstOf; // English text -> its first word
};

std::vector<Assembler::Planned>& Assembler::book(const QString& name)
{
    const QString book = name.isEmpty() ? m_defaultBook : name;
    auto it =
        std::find_if(m_books.begin(), m_books.end(), [&book](const auto& b) { return b.first == book; });
    if (it == m_books.end())
        it = m_books.insert(m_books.end(), {book, {}});
    return it->second;
}

void Assembler::note(const ImportRow& row, const QString& message)
{
    const QString entry = row.entry.isEmpty() ? QString() : QStringLiteral("entry %1: ").arg(row.entry);
    m_result.notes.push_back({row.line, entry + message});
}

// A spreadsheet cell may hold line breaks; a course source column cannot.
QString Assembler::oneLine(const QString& text, const char* what, const ImportRow& row)
{
    static const QRegularExpression controls(QStringLiteral("\\s*[\\x00-\\x1f\\x7f]+\\s*"));
    QString joined = text;
    joined.replace(controls, QStringLiteral(" "));
    if (joined != text)
        note(row, QStringLiteral("the %1 spans several lines; joined into one").arg(QLatin1String(what)));
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

CoursePicture Assembler::picture(const QString& text) const
{
    if (text.isEmpty())
        return {};
    if (text.startsWith(kEmojiPrefix))
        return {CoursePicture::Kind::Emoji, text.mid(kEmojiPrefix.size()).trimmed()};
    return {CoursePicture::Kind::File, path(text)};
}

bool Assembler::addWord(const ImportRow& row, int book, int unit, std::map<QString, int>* inUnit)
{
    if (const auto problem = MediaNameProblem(row.english)) {
        note(row, *problem + QStringLiteral("; row left out"));
        return false;
    }
    if (const auto first = inUnit->find(row.english); first != inUnit->end()) {
        note(row, QStringLiteral("%1 is already in this unit (line %2); kept the first")
                      .arg(quoted(row.english))
                      .arg(first->second));
        return false;
    }
    inUnit->emplace(row.english, row.line);
    CourseWord word{book,
                    unit,
                    row.english,
                    oneLine(row.chinese, "Chinese meaning", row),
                    picture(row.picture),
                    path(row.voice),
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
            note(row, QStringLiteral("%1 takes the picture and voice of its first row (line %2)")
                          .arg(quoted(word.english))
                          .arg(earlier.line));
        word.picture = earlier.picture;
        word.voiceFile = earlier.voiceFile;
    }
    m_result.course.words.push_back(std::move(word));
    return true;
}

void Assembler::addUnit(int book, const Planned& planned)
{
    const int unit =
        static_cast<int>(std::count_if(m_result.course.units.begin(), m_result.course.units.end(),
                                       [book](const CourseUnit& u) { return u.book == book; }));
    std::map<QString, int> inUnit;
    int words = 0;
    for (const ImportRow& row : planned.rows)
        words += addWord(row, book, unit, &inUnit) ? 1 : 0;
    const QString name = planned.name.isEmpty() ? QStringLiteral("Unit %1").arg(unit + 1)
                                                : oneLine(planned.name, "unit name", rowAt(planned.line));
    if (words == 0)
        m_result.notes.push_back(
            {planned.line, QStringLiteral("unit %1 has no words left; left out").arg(quoted(name))});
    else
        m_result.course.units.push_back({book, unit, name, planned.line});
}

ImportResult Assembler::run(ImportList list, const QString& path)
{
    const QString name = readableName(QFileInfo(path).completeBaseName());
    m_defaultBook = oneLine(!m_options.book.isEmpty() ? m_options.book
                            : !list.title.isEmpty()   ? list.title
                                                      : name,
                            "book name", rowAt(0));
    m_result.notes = std::move(list.notes);
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
    sortByLine(m_result.notes);
    return std::move(m_result);
}

ImportResult importInput(const Input& input, const QString& path, const ImportOptions& options)
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
    auto imported = Assembler(path, options).run(std::move(std::get<ImportList>(read)), path);
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
    auto imported = importInput(std::get<Input>(input), path, options);
    if (auto* result = std::get_if<CourseImport>(&imported)) {
        for (const CourseWord& word : result->course.words) {
            if (word.chinese.isEmpty())
                result->notes.push_back({word.line, QStringLiteral("missing Chinese meaning of %1: written "
                                                                   "empty for you to fill in")
                                                        .arg(quoted(word.english))});
        }
        sortByLine(result->notes);
    }
    return imported;
}

QString CourseSourceText(const CourseImport& imported, const QString& origin, const QString& targetDir,
                         std::vector<int>* lineOf)
{
    const CourseSource& course = imported.course;
    QStringList lines = {
        QStringLiteral("# Lexora course source imported from %1 by lexora-course import")
            .arg(QFileInfo(origin).fileName()),
        QStringLiteral("# (%1).").arg(imported.columns),
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
        QStringLiteral("version\t%1\t%2").arg(course.versionName, course.versionDB),
        // Every version of the course keeps this line: the learners' records follow it.
        QStringLiteral("id\t%1").arg(course.courseId.isEmpty() ? NewCourseId() : course.courseId),
    };
    std::vector<int> from(lines.size(), 0);
    const auto add = [&lines, &from](const QString& line, int source) {
        lines << line;
        from.push_back(source);
    };
    const QDir target(targetDir);
    const auto relative = [&target](const QString& path) {
        return path.isEmpty() ? path : target.relativeFilePath(path);
    };
    for (const CourseBook& book : course.books) {
        add({}, 0);
        add(QStringLiteral("book\t%1\t%2").arg(book.id).arg(book.name), book.line);
        for (const CourseUnit& unit : course.units) {
            if (unit.book != book.id)
                continue;
            add({}, 0);
            add(QStringLiteral("unit\t%1\t%2\t%3").arg(book.id).arg(unit.id).arg(unit.name), unit.line);
            for (const CourseWord& w : course.words) {
                if (w.book != book.id || w.unit != unit.id)
                    continue;
                if (w.chinese.isEmpty())
                    add(QStringLiteral("%1 the Chinese meaning of %2 (line %3 of %4)")
                            .arg(kFillIn, quoted(w.english))
                            .arg(w.line)
                            .arg(QFileInfo(origin).fileName()),
                        0);
                const QString picture =
                    w.picture.kind == CoursePicture::Kind::Emoji  ? kEmojiPrefix + w.picture.value
                    : w.picture.kind == CoursePicture::Kind::File ? relative(w.picture.value)
                                                                  : QString();
                QStringList fields = {QStringLiteral("word"),
                                      QString::number(w.book),
                                      QString::number(w.unit),
                                      w.english,
                                      w.chinese,
                                      picture,
                                      relative(w.voiceFile)};
                while (fields.size() > 5 && fields.back().isEmpty())
                    fields.removeLast();
                add(fields.join(QLatin1Char('\t')), w.line);
            }
        }
    }
    if (lineOf)
        *lineOf = std::move(from);
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
    auto imported = importInput(std::get<Input>(input), path, options);
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
