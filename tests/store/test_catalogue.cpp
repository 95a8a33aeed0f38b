#include "StoreTest.h"

using namespace lexora;
using lexora::test::CourseFixture;
using lexora::test::StoreTest;

namespace {

class Catalogue : public StoreTest
{};

TEST_F(Catalogue, UnitsTakeTheirPositionNotTheStoredId)
{
    course.units = {{0, QStringLiteral("B"), 0, QStringLiteral("A"), QVariant()},
                    {0, QStringLiteral("B"), 5, QStringLiteral(" C "), 2},
                    {0, QStringLiteral("B"), 9, QStringLiteral("D"), 1}};
    ASSERT_TRUE(open());
    store->words().setCurrent(4);
    ASSERT_TRUE(store->LoadBookUnits(0));
    ASSERT_EQ(store->catalogue().unitCount(), 3);
    EXPECT_EQ(store->words().current(), 0);
    const std::tuple<int, const char*, int> expected[] = {{0, "A", 0}, {1, "C", 2}, {2, "D", 1}};
    for (size_t i = 0; i < 3; ++i) {
        const CBookUnit& unit = store->catalogue().units()[i];
        EXPECT_EQ(std::make_tuple(int(unit.BookID), int(unit.UnitID), unit.UnitName, int(unit.UnitStatus)),
                  std::make_tuple(0, std::get<0>(expected[i]), QString::fromUtf8(std::get<1>(expected[i])),
                                  std::get<2>(expected[i])));
    }
    // A book without units keeps the previous list and says so.
    EXPECT_FALSE(store->LoadBookUnits(7));
    EXPECT_EQ(store->catalogue().unitCount(), 0);
    EXPECT_EQ(store->catalogue().units().size(), 3u);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text, QStringLiteral("没有找到您要的单元，请下载最新的版本！"));
}

// A catalogue the program cannot start with: a message saying what is missing, no crash.
TEST_F(Catalogue, UnusableCataloguesAreReportedAndRefused)
{
    const QString nullVersion =
        QStringLiteral("drop table VersionInfo; create table VersionInfo (ID INTEGER, "
                       "VersionName TEXT, VersionDB TEXT); insert into VersionInfo ");
    const std::tuple<std::function<void(CourseFixture&)>, QString, const char*> cases[] = {
        {[](auto& c) { c.withSettingsRow = false; }, {}, "设置记录"},
        {[](auto& c) { c.withVersionRow = false; }, {}, "版本信息"},
        {[](auto& c) { c.units.clear(); }, {}, "课本"},
        {nullptr, nullVersion + QStringLiteral("values (1, NULL, 'PEP')"), "版本信息不完整"},
        {nullptr, nullVersion + QStringLiteral("values (1, 'x', NULL)"), "版本信息不完整"},
        {nullptr, QStringLiteral("update VersionInfo set VersionDB = 'PEP; drop table History'"),
         "版本信息有误"},
    };
    for (const auto& [breakCourse, sql, messagePart] : cases) {
        course = CourseFixture::standard();
        if (breakCourse)
            breakCourse(course);
        ASSERT_TRUE(open(/*loadSettings=*/false));
        if (!sql.isEmpty()) {
            ASSERT_TRUE(course.exec(sql));
        }
        prompter.clear();
        EXPECT_FALSE(store->LoadSettings());
        ASSERT_FALSE(prompter.asked().empty());
        const QString text = prompter.asked().back().text;
        EXPECT_TRUE(text.contains(QString::fromUtf8(messagePart))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("程序无法启动"))) << text.toStdString();
        EXPECT_EQ(fatals, 0);
    }
}

} // namespace
