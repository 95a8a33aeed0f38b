#include "ViewTestKit.h"

#include <QColor>
#include <QImage>

namespace lexora::test {

ViewWorld::ViewWorld(CourseFixture fixture) : course(std::move(fixture)) {}

bool ViewWorld::build()
{
    if (!course.build())
        return false;
    program = std::make_unique<Program>(course.programFolder(),
                                        Services{prompter, clock, clock, random, soundOut, capture, shell});
    return true;
}

bool ViewWorld::open()
{
    if (!build())
        return false;
    Program& p = *program;
    p.store.MakeConnectString();
    return p.store.LoadSettings() && p.store.LoadBookUnits(p.store.iCurrBook) &&
           p.store.LoadUnitWords(p.store.iCurrBook, p.store.iCurrUnit);
}

CourseFixture ViewWorld::courseOf(const QStringList& words)
{
    CourseFixture f;
    f.units = {{0, QStringLiteral("Book"), 0, QStringLiteral("Unit 1"), QVariant()}};
    for (const QString& w : words)
        f.words.push_back({0, 0, w, QStringLiteral("中") + w, 0, QVariant()});
    return f;
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
