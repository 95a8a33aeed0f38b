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
    void SetUp() override { ASSERT_TRUE(course.build(/*scrambled=*/false)); }
    bool open(const QString& sql, const QVariantList& params = {})
    {
        return rs.Open(sql, course.dbFile(), QLatin1String(kDatabasePassword), &keys, params, &error);
    }

    CourseFixture course = CourseFixture::standard();
    KeyCache keys;
    RecordSet rs;
    QString error;
};

TEST_F(RecordSetTest, CountIsExactAtOnceAndNullReadsAsInvalid)
{
    ASSERT_TRUE(open(QStringLiteral("select * from PEP where Book = 0")));
    EXPECT_EQ(rs.RecordCount(), 9);
    int seen = 0;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        ++seen;
    EXPECT_EQ(seen, 9);
    ASSERT_TRUE(open(QStringLiteral("select * from PEP where English = ?"), {QStringLiteral("hello")}));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_FALSE(rs.Field(QStringLiteral("Result")).isValid());
    EXPECT_EQ(rs.Field(QStringLiteral("chinese")).toString(), QStringLiteral("你好")); // any letter case
    EXPECT_FALSE(rs.HasColumn(QStringLiteral("lexora_rowid")));
}

TEST_F(RecordSetTest, DistinctQueriesAreReadOnlyAndFailuresLeaveItClosed)
{
    ASSERT_TRUE(open(QStringLiteral("select DISTINCT BookName,BookID from PEP_BookUnit order by BookID")));
    EXPECT_EQ(rs.RecordCount(), 2);
    EXPECT_FALSE(rs.SetField(QStringLiteral("BookName"), QStringLiteral("x")));
    EXPECT_FALSE(rs.AddNew());
    EXPECT_FALSE(open(QStringLiteral("select * from NoSuchTable")));
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_FALSE(rs.Open(QStringLiteral("select * from PEP"), course.dbFile(), QStringLiteral("wrong"),
                         nullptr, {}, &error));
    EXPECT_FALSE(rs.IsOpen());
}

} // namespace
