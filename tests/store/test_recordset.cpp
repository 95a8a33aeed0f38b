#include "CourseFixture.h"
#include "store/RecordSet.h"
#include "store/Schema.h"

#include <gtest/gtest.h>

using namespace lexora;
using lexora::test::CourseFixture;

namespace {

class RecordSetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        course = CourseFixture::standard();
        ASSERT_TRUE(course.build(/*scrambled=*/false));
    }
    bool open(const QString& sql, const QVariantList& params = {})
    {
        return rs.Open(sql, course.dbFile(), QLatin1String(kDatabasePassword), &keys, params, &error);
    }

    CourseFixture course;
    KeyCache keys;
    RecordSet rs;
    QString error;
};

TEST_F(RecordSetTest, CountIsExactBeforeAnyRowIsRead)
{
    ASSERT_TRUE(open(QStringLiteral("select * from PEP where Book = 0")));
    EXPECT_EQ(rs.RecordCount(), 9);
    int seen = 0;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        ++seen;
    EXPECT_EQ(seen, 9);
    rs.MoveNext(); // past the end stays at the end
    EXPECT_TRUE(rs.IsEOF());
}

TEST_F(RecordSetTest, NullReadsAsInvalidAndTextAsStored)
{
    ASSERT_TRUE(open(QStringLiteral("select * from PEP where English = ?"), {QStringLiteral("hello")}));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_FALSE(rs.Field(QStringLiteral("Result")).isValid());
    EXPECT_EQ(rs.Field(QStringLiteral("chinese")).toString(), QStringLiteral("你好")); // any letter case
    EXPECT_FALSE(rs.Field(QStringLiteral("NoSuchColumn")).isValid());
    EXPECT_FALSE(rs.HasColumn(QStringLiteral("lexora_rowid")));
}

TEST_F(RecordSetTest, SavedChangesPersistAndOnlyTouchTheirRow)
{
    ASSERT_TRUE(open(QStringLiteral("select * from PEP where English = 'apple'")));
    ASSERT_EQ(rs.RecordCount(), 2);
    rs.MoveFirst();
    ASSERT_TRUE(rs.SetField(QStringLiteral("Result"), QStringLiteral("1|0|1")));
    ASSERT_TRUE(rs.Save(&error)) << error.toStdString();
    rs.Close();
    const auto rows =
        course.rows(QStringLiteral("select Result from PEP where English = 'apple' order by Unit"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0].toString(), QStringLiteral("1|0|1"));
    EXPECT_TRUE(rows[1][0].isNull());
}

TEST_F(RecordSetTest, AddedRowIsInserted)
{
    ASSERT_TRUE(open(QStringLiteral("select * from History")));
    EXPECT_EQ(rs.RecordCount(), 0);
    ASSERT_TRUE(rs.AddNew());
    rs.SetField(QStringLiteral("NO"), 7);
    rs.SetField(QStringLiteral("Task"), QStringLiteral("测试"));
    ASSERT_TRUE(rs.Save(&error)) << error.toStdString();
    EXPECT_EQ(rs.RecordCount(), 1);
    rs.Close();
    const auto rows = course.rows(QStringLiteral("select NO, Task, userID from History"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].toInt(), 7);
    EXPECT_EQ(rows[0][1].toString(), QStringLiteral("测试"));
}

TEST_F(RecordSetTest, DistinctQueriesAreReadOnly)
{
    ASSERT_TRUE(open(QStringLiteral("select DISTINCT BookName,BookID from PEP_BookUnit order by BookID")));
    EXPECT_EQ(rs.RecordCount(), 2);
    rs.MoveFirst();
    EXPECT_FALSE(rs.SetField(QStringLiteral("BookName"), QStringLiteral("x")));
    EXPECT_FALSE(rs.AddNew());
}

TEST_F(RecordSetTest, FailuresLeaveTheSetClosed)
{
    EXPECT_FALSE(open(QStringLiteral("select * from NoSuchTable")));
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(rs.Open(QStringLiteral("select * from PEP"), course.dbFile(), QStringLiteral("wrong"),
                         nullptr, {}, &error));
    EXPECT_FALSE(rs.IsOpen());
}

} // namespace
