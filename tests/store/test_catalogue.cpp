#include "StoreTest.h"

using namespace lexora;
using lexora::test::StoreTest;

namespace {

class Catalogue : public StoreTest
{};

TEST_F(Catalogue, SettingsVersionAndBooksAreRead)
{
    course.lastBook = 1;
    course.lastUnit = 1;
    course.versionName = QStringLiteral(" 小学英语 ");
    ASSERT_TRUE(open());
    EXPECT_EQ(store->iCurrBook, 1);
    EXPECT_EQ(store->iCurrUnit, 1);
    EXPECT_EQ(store->iVersionID, 1);
    EXPECT_EQ(store->strVersionName, QStringLiteral(" 小学英语 ")); // not trimmed
    EXPECT_EQ(store->strVersionDB, QStringLiteral("PEP"));
    EXPECT_EQ(store->iBookNum, 2);
    EXPECT_EQ(store->GetBookName(0), QStringLiteral("三年级上册")); // trimmed
    EXPECT_EQ(store->GetBookName(1), QStringLiteral("三年级下册"));
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(Catalogue, BookNameOutOfRangeIsEmpty)
{
    ASSERT_TRUE(open());
    for (std::int16_t book : {std::int16_t(-1), store->iBookNum, std::int16_t(32767)})
        EXPECT_TRUE(store->GetBookName(book).isEmpty()) << book;
}

TEST_F(Catalogue, UnitsTakeTheirPositionNotTheStoredId)
{
    // Stored ids with a gap still give positions 0, 1, 2.
    course.units = {{0, QStringLiteral("B"), 0, QStringLiteral("A"), QVariant()},
                    {0, QStringLiteral("B"), 5, QStringLiteral(" C "), 2},
                    {0, QStringLiteral("B"), 9, QStringLiteral("D"), 1}};
    ASSERT_TRUE(open());
    store->iCurrWord = 4;
    ASSERT_TRUE(store->LoadBookUnits(0));
    ASSERT_EQ(store->iUnitNum, 3);
    EXPECT_EQ(store->iCurrWord, 0);
    const std::vector<std::tuple<int, QString, int>> expected = {
        {0, QStringLiteral("A"), 0}, {1, QStringLiteral("C"), 2}, {2, QStringLiteral("D"), 1}};
    for (size_t i = 0; i < expected.size(); ++i) {
        const CBookUnit& unit = store->arrBookUnit[i];
        EXPECT_EQ(unit.BookID, 0);
        EXPECT_EQ(unit.UnitID, std::get<0>(expected[i]));
        EXPECT_EQ(unit.UnitName, std::get<1>(expected[i]));
        EXPECT_EQ(unit.UnitStatus, std::get<2>(expected[i]));
    }
}

TEST_F(Catalogue, BookWithoutUnitsKeepsThePreviousList)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(store->LoadBookUnits(0));
    EXPECT_FALSE(store->LoadBookUnits(7));
    EXPECT_EQ(store->iUnitNum, 0);
    EXPECT_EQ(store->arrBookUnit.size(), 3u);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text, QStringLiteral("没有找到您要的单元，请下载最新的版本！"));
    EXPECT_EQ(prompter.asked()[0].title, QStringLiteral("小学英语"));
}

TEST_F(Catalogue, LastBookAndUnitAreStored)
{
    ASSERT_TRUE(open());
    store->iCurrBook = 1;
    store->iCurrUnit = 1;
    store->SaveLastBookUnit();
    const auto rows = course.rows(QStringLiteral("select LastBook, LastUnit, VersionID from FeatureTable"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].toInt(), 1);
    EXPECT_EQ(rows[0][1].toInt(), 1);
    EXPECT_EQ(rows[0][2].toInt(), 1);
}

// A catalogue the program cannot start with: a message saying what is missing, no crash.
struct BrokenCase
{
    const char* name;
    std::function<void(lexora::test::CourseFixture&)> breakBefore;
    const char* fixSql; // run after building, before loading
    const char* messagePart;
};

class BrokenCatalogue : public StoreTest, public ::testing::WithParamInterface<BrokenCase>
{};

TEST_P(BrokenCatalogue, IsReportedAndRefused)
{
    if (GetParam().breakBefore)
        GetParam().breakBefore(course);
    ASSERT_TRUE(open(/*loadSettings=*/false));
    if (GetParam().fixSql) {
        ASSERT_TRUE(course.exec(QString::fromUtf8(GetParam().fixSql)));
    }
    EXPECT_FALSE(store->LoadSettings());
    ASSERT_FALSE(prompter.asked().empty());
    const QString text = prompter.asked().back().text;
    EXPECT_TRUE(text.contains(QString::fromUtf8(GetParam().messagePart))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("程序无法启动"))) << text.toStdString();
    EXPECT_EQ(fatals, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenCatalogue,
    ::testing::Values(
        BrokenCase{"noSettingsRow", [](auto& c) { c.withSettingsRow = false; }, nullptr, "设置记录"},
        BrokenCase{"noVersionRow", [](auto& c) { c.withVersionRow = false; }, nullptr, "版本信息"},
        BrokenCase{"noBook", [](auto& c) { c.units.clear(); }, nullptr, "课本"},
        BrokenCase{
            "nullVersionName", nullptr,
            "drop table VersionInfo; create table VersionInfo (ID INTEGER, VersionName TEXT, VersionDB "
            "TEXT); insert into VersionInfo values (1, NULL, 'PEP')",
            "版本信息不完整"},
        BrokenCase{
            "nullVersionDB", nullptr,
            "drop table VersionInfo; create table VersionInfo (ID INTEGER, VersionName TEXT, VersionDB "
            "TEXT); insert into VersionInfo values (1, 'x', NULL)",
            "版本信息不完整"},
        BrokenCase{"stemThatIsNotATableName", nullptr,
                   "update VersionInfo set VersionDB = 'PEP; drop table History'", "版本信息有误"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
