#include "course/ImportKvtml.h"

#include <QFileInfo>
#include <QUrl>
#include <QXmlStreamReader>
#include <map>
#include <set>

namespace lexora {

namespace {

struct Identifier
{
    QString id;
    QString name;
    QString locale;
};

struct Translation
{
    QString text;
    QString image;
    QString sound;
};

struct Entry
{
    QString id;
    int line = 0;
    std::map<QString, Translation> translations;
};

struct Lesson
{
    QString name;
    int line = 0;
    QStringList entries;
};

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

class KvtmlReader
{
public:
    explicit KvtmlReader(const QByteArray& bytes) : m_xml(bytes) {}
    ImportRead read(const ImportOptions& options);

private:
    std::optional<CourseError> readDocument();
    void readIdentifier();
    void readEntry();
    void readContainer();
    QString text() { return m_xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed(); }
    int line() const { return static_cast<int>(m_xml.lineNumber()); }
    std::variant<int, CourseError> choose(const QString& choice, const char* option, const QString& locale,
                                          const QStringList& names, int other) const;
    ImportRow row(const Entry& entry, int english, int chinese, std::vector<CourseError>* notes) const;
    const ImportRow& rowOf(const Entry& entry, int english, int chinese, std::vector<CourseError>* notes);

    QXmlStreamReader m_xml;
    QString m_title;
    std::vector<Identifier> m_identifiers;
    std::vector<Entry> m_entries;
    std::vector<Lesson> m_lessons;
    std::map<const Entry*, ImportRow> m_rows;
};

std::optional<CourseError> KvtmlReader::readDocument()
{
    if (!m_xml.readNextStartElement() || m_xml.name() != QLatin1String("kvtml"))
        return CourseError{line(), QStringLiteral("not a KVTML vocabulary file")};
    const QString version = m_xml.attributes().value(QLatin1String("version")).toString();
    if (!version.startsWith(QLatin1Char('2')))
        return CourseError{
            line(),
            QStringLiteral("KVTML version %1 is not read; only version 2 files are").arg(quoted(version))};
    while (m_xml.readNextStartElement()) {
        const QString name = m_xml.name().toString(); // the view dies with the next read
        // Word types and practice boxes hold containers too; only lessons become units.
        const bool lists = name == QLatin1String("identifiers") || name == QLatin1String("entries") ||
                           name == QLatin1String("lessons") || name == QLatin1String("information");
        while (lists && m_xml.readNextStartElement()) {
            if (m_xml.name() == QLatin1String("title"))
                m_title = text();
            else if (m_xml.name() == QLatin1String("identifier"))
                readIdentifier();
            else if (m_xml.name() == QLatin1String("entry"))
                readEntry();
            else if (m_xml.name() == QLatin1String("container") && name == QLatin1String("lessons"))
                readContainer();
            else
                m_xml.skipCurrentElement();
        }
        if (!lists)
            m_xml.skipCurrentElement();
    }
    if (m_xml.hasError())
        return CourseError{line(),
                           QStringLiteral("not a well-formed KVTML file: %1").arg(m_xml.errorString())};
    return std::nullopt;
}

void KvtmlReader::readIdentifier()
{
    Identifier identifier{m_xml.attributes().value(QLatin1String("id")).toString(), {}, {}};
    while (m_xml.readNextStartElement()) {
        if (m_xml.name() == QLatin1String("name"))
            identifier.name = text();
        else if (m_xml.name() == QLatin1String("locale"))
            identifier.locale = text();
        else
            m_xml.skipCurrentElement();
    }
    m_identifiers.push_back(std::move(identifier));
}

void KvtmlReader::readEntry()
{
    Entry entry{m_xml.attributes().value(QLatin1String("id")).toString(), line(), {}};
    while (m_xml.readNextStartElement()) {
        if (m_xml.name() != QLatin1String("translation")) {
            m_xml.skipCurrentElement();
            continue;
        }
        Translation& translation =
            entry.translations[m_xml.attributes().value(QLatin1String("id")).toString()];
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == QLatin1String("text"))
                translation.text = text();
            else if (m_xml.name() == QLatin1String("image"))
                translation.image = text();
            else if (m_xml.name() == QLatin1String("sound"))
                translation.sound = text();
            else
                m_xml.skipCurrentElement();
        }
    }
    m_entries.push_back(std::move(entry));
}

// A lesson's own entries make one unit, followed by its nested lessons in order. Walked with a stack
// of the open lessons, not by recursion: nesting as deep as a file likes cannot overflow ours.
void KvtmlReader::readContainer()
{
    std::vector<size_t> open{m_lessons.size()};
    m_lessons.push_back({{}, line(), {}});
    while (!open.empty()) {
        if (!m_xml.readNextStartElement()) {
            open.pop_back(); // the end of the innermost open lesson
            continue;
        }
        Lesson& lesson = m_lessons[open.back()];
        if (m_xml.name() == QLatin1String("name")) {
            lesson.name = text();
        } else if (m_xml.name() == QLatin1String("entry")) {
            lesson.entries << m_xml.attributes().value(QLatin1String("id")).toString();
            m_xml.skipCurrentElement();
        } else if (m_xml.name() == QLatin1String("container")) {
            open.push_back(m_lessons.size());
            m_lessons.push_back({{}, line(), {}});
        } else {
            m_xml.skipCurrentElement();
        }
    }
}

// The identifier picked by id, name or locale; by default the first of the wanted language, else
// the first that is not `other`. -1: none.
std::variant<int, CourseError> KvtmlReader::choose(const QString& choice, const char* option,
                                                   const QString& locale, const QStringList& names,
                                                   int other) const
{
    const int count = static_cast<int>(m_identifiers.size());
    for (int i = 0; i < count; ++i) {
        const Identifier& id = m_identifiers[static_cast<size_t>(i)];
        const bool picked = choice.isEmpty()
                                ? id.locale.startsWith(locale, Qt::CaseInsensitive) ||
                                      names.contains(id.name, Qt::CaseInsensitive)
                                : id.id == choice || id.name.compare(choice, Qt::CaseInsensitive) == 0 ||
                                      id.locale.compare(choice, Qt::CaseInsensitive) == 0;
        if (picked)
            return i;
    }
    if (choice.isEmpty()) {
        for (int i = 0; i < count; ++i) {
            if (i != other)
                return i;
        }
        return -1;
    }
    QStringList known;
    for (const Identifier& id : m_identifiers)
        known << id.id + QLatin1Char(' ') + quoted(id.name);
    return CourseError{0, QStringLiteral("--%1 %2: no such identifier (%3)")
                              .arg(QLatin1String(option), quoted(choice), known.join(QStringLiteral(", ")))};
}

// A vocabulary file names its media by URL; local JPEG pictures and WAV sounds are what a course takes.
QString mediaPath(const QString& url, const QStringList& suffixes, const QString& what, const Entry& entry,
                  std::vector<CourseError>* notes)
{
    if (url.isEmpty())
        return {};
    const QUrl parsed(url);
    const QString path = parsed.isLocalFile()  ? parsed.toLocalFile()
                         : parsed.isRelative() ? parsed.path()
                                               : QString();
    if (!path.isEmpty() && suffixes.contains(QFileInfo(path).suffix().toLower()))
        return path;
    notes->push_back(
        {entry.line, QStringLiteral("entry %1: its %2 %3 is left out: a course takes local .%4 files")
                         .arg(entry.id, what, quoted(url), suffixes.join(QStringLiteral(" or .")))});
    return {};
}

ImportRow KvtmlReader::row(const Entry& entry, int english, int chinese,
                           std::vector<CourseError>* notes) const
{
    const auto translation = [&entry, this](int identifier) {
        if (identifier < 0)
            return Translation{};
        const auto it = entry.translations.find(m_identifiers[static_cast<size_t>(identifier)].id);
        return it == entry.translations.end() ? Translation{} : it->second;
    };
    const Translation en = translation(english);
    ImportRow row{entry.line, entry.id, {}, en.text, translation(chinese).text, {}, {}};
    row.picture = mediaPath(en.image, {QStringLiteral("jpg"), QStringLiteral("jpeg")},
                            QStringLiteral("picture"), entry, notes);
    row.voice = mediaPath(en.sound, {QStringLiteral("wav")}, QStringLiteral("sound"), entry, notes);
    return row;
}

// An entry named by several lessons is read once, so that its notes come once.
const ImportRow& KvtmlReader::rowOf(const Entry& entry, int english, int chinese,
                                    std::vector<CourseError>* notes)
{
    auto it = m_rows.find(&entry);
    if (it == m_rows.end())
        it = m_rows.emplace(&entry, row(entry, english, chinese, notes)).first;
    return it->second;
}

ImportRead KvtmlReader::read(const ImportOptions& options)
{
    if (auto error = readDocument())
        return *error;
    if (m_identifiers.empty())
        return CourseError{0, QStringLiteral("no identifiers: the file names no languages")};
    const auto english =
        choose(options.english, "english", QStringLiteral("en"),
               {QStringLiteral("english"), QStringLiteral("英语"), QStringLiteral("英文")}, -1);
    if (auto* error = std::get_if<CourseError>(&english))
        return *error;
    const int en = std::get<int>(english);
    const auto chinese =
        choose(options.chinese, "chinese", QStringLiteral("zh"),
               {QStringLiteral("chinese"), QStringLiteral("中文"), QStringLiteral("汉语")}, en);
    if (auto* error = std::get_if<CourseError>(&chinese))
        return *error;
    const int zh = std::get<int>(chinese) == en ? -1 : std::get<int>(chinese);

    ImportList list;
    list.title = m_title;
    const auto describe = [this](int i) {
        return i < 0 ? QStringLiteral("no identifier")
                     : QStringLiteral("identifier %1 %2")
                           .arg(m_identifiers[static_cast<size_t>(i)].id,
                                quoted(m_identifiers[static_cast<size_t>(i)].name));
    };
    list.columns = QStringLiteral("English from %1, Chinese from %2").arg(describe(en), describe(zh));
    std::map<QString, const Entry*> byId;
    for (const Entry& entry : m_entries)
        byId.emplace(entry.id, &entry);
    std::set<QString> inLessons;
    for (const Lesson& lesson : m_lessons) {
        ImportUnit unit{{}, lesson.name, lesson.line, {}};
        for (const QString& id : lesson.entries) {
            const auto it = byId.find(id);
            if (it == byId.end()) {
                list.notes.push_back(
                    {lesson.line, QStringLiteral("lesson %1 names entry %2, which the file does not hold")
                                      .arg(quoted(lesson.name), id)});
                continue;
            }
            inLessons.insert(id);
            unit.rows.push_back(rowOf(*it->second, en, zh, &list.notes));
        }
        if (!unit.rows.empty())
            list.units.push_back(std::move(unit));
    }
    for (const Entry& entry : m_entries) {
        if (!inLessons.count(entry.id))
            list.loose.push_back(rowOf(entry, en, zh, &list.notes));
    }
    return list;
}

} // namespace

ImportRead ReadKvtml(const QByteArray& bytes, const ImportOptions& options)
{
    return KvtmlReader(bytes).read(options);
}

} // namespace lexora
