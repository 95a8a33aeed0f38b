#include "store/Locations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

// A portable program keeps everything in its own tree.
TEST(PortableLocations, EverythingStaysInTheProgramTree)
{
    const std::pair<const char*, QStringList> cases[] = {
        {"/media/stick/Lexora/",
         {"/media/stick/Lexora", "/media/stick/Common", "/media/stick/Common/myvoice",
          "/media/stick/Lexora/AppPics/lexora.pet", "/media/stick/Lexora/.lexora.lock"}},
        {"/", {"/", "/Common", "/Common/myvoice", "/AppPics/lexora.pet", "/.lexora.lock"}}};
    for (const auto& [programFolder, expected] : cases) {
        SCOPED_TRACE(programFolder);
        const Locations l = Locations::portable(QString::fromUtf8(programFolder));
        EXPECT_FALSE(l.isInstalled());
        EXPECT_EQ(QStringList({l.programFolder(), l.commonFolder(), l.myVoiceFolder(), l.databaseFile(),
                               l.lockFile()}),
                  expected);
        EXPECT_TRUE(l.dataFolder().isEmpty());
    }
}

// Builds course folders in a temporary tree: an installed one (AppPics beside Common) and a staged one
// (Lexora/AppPics beside Common), and a program folder holding its own database.
class LocationRule : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char* folder : {"usr/bin", "usr/share/lexora/AppPics", "usr/share/lexora/Common",
                                   "stage/Lexora/AppPics", "stage/Common", "home/data"})
            ASSERT_TRUE(QDir(dir.path()).mkpath(QLatin1String(folder)));
        QFile db(path("stage/Lexora/AppPics/lexora.pet"));
        ASSERT_TRUE(db.open(QIODevice::WriteOnly));
        // The installed course was built with its identity; the staged tree is an older one without.
        QFile id(path("usr/share/lexora/AppPics/course.id"));
        ASSERT_TRUE(id.open(QIODevice::WriteOnly));
        id.write("course-a\n");
    }
    QString path(const char* relative) const
    {
        return dir.path() + QLatin1Char('/') + QLatin1String(relative);
    }

    QTemporaryDir dir;
};

TEST_F(LocationRule, WithoutItsOwnDatabaseTheProgramUsesTheInstalledCourseAndTheUsersDataFolder)
{
    const Locations l =
        Locations::decide(path("usr/bin"), {}, QStringLiteral("../share/lexora"), path("home/data"));
    ASSERT_TRUE(l.isInstalled());
    // The course is read from under the prefix; everything the learner writes goes to their own folder.
    EXPECT_EQ(l.programFolder(), path("usr/share/lexora"));
    EXPECT_EQ(l.commonFolder(), path("usr/share/lexora/Common"));
    EXPECT_EQ(l.courseDatabaseFile(), path("usr/share/lexora/AppPics/lexora.pet"));
    // One record per learner and course; the lock is the learner's.
    EXPECT_EQ(l.courseId(), QStringLiteral("course-a"));
    EXPECT_EQ(l.databaseFile(), path("home/data/default/course-a/lexora.pet"));
    EXPECT_EQ(l.myVoiceFolder(), path("home/data/default/course-a/myvoice"));
    EXPECT_EQ(l.lockFile(), path("home/data/default/lexora.lock"));
    EXPECT_EQ(l.backupFile(3), path("home/data/default/course-a/lexora.pet.bak3"));
}

TEST_F(LocationRule, AGivenCourseIsUsedReadOnlyEvenBesideAPortableProgram)
{
    const Locations l = Locations::decide(path("stage/Lexora"), path("stage"),
                                          QStringLiteral("../share/lexora"), path("home/data"));
    ASSERT_TRUE(l.isInstalled());
    // A staged tree: its program folder is Lexora, its media in Common beside it.
    EXPECT_EQ(l.programFolder(), path("stage/Lexora"));
    EXPECT_EQ(l.commonFolder(), path("stage/Common"));
    EXPECT_EQ(l.courseDatabaseFile(), path("stage/Lexora/AppPics/lexora.pet"));
    // A tree without an identity gets one from where it is: the same each time, another elsewhere.
    EXPECT_TRUE(l.courseId().startsWith(QStringLiteral("at-"))) << qPrintable(l.courseId());
    EXPECT_EQ(CourseIdentity(path("stage/Lexora")), l.courseId());
    EXPECT_NE(CourseIdentity(path("usr/share/lexora/..")), l.courseId());
    EXPECT_EQ(l.databaseFile(), path("home/data/default/") + l.courseId() + QStringLiteral("/lexora.pet"));
}

TEST_F(LocationRule, TheDataFolderIsMadeWhenInstalledAndAProgramHoldingItsDatabaseIsPortable)
{
    const Locations installed = Locations::installed(path("usr/share/lexora"), path("home/new/data"));
    EXPECT_TRUE(installed.makeDataFolder());
    EXPECT_TRUE(QFileInfo(path("home/new/data")).isDir());
    // A program folder holding its own database keeps everything in its tree.
    const Locations portable =
        Locations::decide(path("stage/Lexora"), {}, QStringLiteral("../share/lexora"), path("home/data"));
    EXPECT_FALSE(portable.isInstalled());
    EXPECT_EQ(portable.databaseFile(), path("stage/Lexora/AppPics/lexora.pet"));
    EXPECT_TRUE(portable.makeDataFolder());
}

} // namespace
} // namespace lexora::test
