#include "ViewTestKit.h"

#include <QColor>
#include <QImage>

namespace lexora::test {

bool ViewWorld::build()
{
    if (!course.build())
        return false;
    program = std::make_unique<Program>(course.programFolder(), services());
    return true;
}

bool ViewWorld::open()
{
    if (!build())
        return false;
    auto& s = program->store;
    return s.LoadSettings() && s.LoadBookUnits(s.catalogue().currentBook()) && s.LoadUnitWords(s.catalogue().currentBook(), s.catalogue().currentUnit());
}

CourseFixture ViewWorld::courseOf(const QStringList& words)
{
    CourseFixture f;
    f.units = {{0, QStringLiteral("Book"), 0, QStringLiteral("Unit 1"), QVariant()}};
    for (const QString& w : words)
        f.words.push_back({0, 0, w, QStringLiteral("中") + w, 0, QVariant()});
    return f;
}

QStringList ViewWorld::numbered(int n)
{
    QStringList words;
    while (words.size() < n)
        words << QStringLiteral("word%1").arg(words.size(), 2, 10, QLatin1Char('0'));
    return words;
}

std::unique_ptr<ViewWorld> ViewWorld::withMedia(const QStringList& words)
{
    auto world = std::make_unique<ViewWorld>(courseOf(words));
    for (int i = 0; i < words.size(); ++i)
        world->addPicture(words[i]), world->addVoice(words[i], i + 1);
    return world->open() ? std::move(world) : nullptr;
}

void ViewWorld::addPicture(const QString& word)
{
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(QColor::fromHsv(static_cast<int>(qHash(word) % 360), 200, 220));
    picture.save(pics() + u'/' + word + QStringLiteral(".jpg"), "JPEG");
}

void ViewWorld::addLetterSounds(const QString& letters)
{
    for (const QChar c : letters)
        addVoice(QString(c), c.unicode());
}

} // namespace lexora::test
