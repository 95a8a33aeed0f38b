#include "store/Learners.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

class LearnersTest : public ::testing::Test
{
protected:
    QStringList names() const
    {
        QStringList out;
        for (const auto& learner : learners.list())
            out << learner.name;
        return out;
    }

    QTemporaryDir data;
    Learners learners{data.path()};
};

TEST_F(LearnersTest, AFreshAccountHasOneLearnerAndNewOnesFollowInTheOrderAdded)
{
    EXPECT_EQ(names(), QStringList{QStringLiteral("学习者1")});
    QString error;
    const auto mei = learners.add(QStringLiteral(" 小美 "), &error);
    ASSERT_TRUE(mei) << qPrintable(error);
    ASSERT_TRUE(learners.add(QStringLiteral("小明"), &error)) << qPrintable(error);
    EXPECT_EQ(names(), (QStringList{QStringLiteral("学习者1"), QStringLiteral("小美"), QStringLiteral("小明")}));
    EXPECT_EQ(learners.find(QStringLiteral("小美"))->id, mei->id);
    EXPECT_EQ(learners.find(mei->id)->name, QStringLiteral("小美"));
    // A rename keeps the folder, so the records stay where they are.
    ASSERT_TRUE(learners.rename(QLatin1String(Learners::kFirstId), QStringLiteral("小红"), &error));
    EXPECT_EQ(names().front(), QStringLiteral("小红"));
    EXPECT_EQ(learners.find(QStringLiteral("小红"))->id, QLatin1String(Learners::kFirstId));
}

TEST_F(LearnersTest, NamesThatCannotTellChildrenApartAreRefused)
{
    QString error;
    ASSERT_TRUE(learners.add(QStringLiteral("小美"), &error));
    const std::pair<const char*, const char*> cases[] = {
        {"", "空"}, {"   ", "空"}, {"小美", "已经有"}, {"学习者1", "已经有"},
        {"一二三四五六七八九十一二三四五六七八九十一", "太长"}, {"a\tb", "控制字符"}};
    for (const auto& [name, reason] : cases) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(learners.add(QString::fromUtf8(name), &error));
        EXPECT_TRUE(error.contains(QString::fromUtf8(reason))) << qPrintable(error);
    }
    EXPECT_EQ(learners.list().size(), 2u);
    // Renaming to one's own name is no clash.
    EXPECT_TRUE(learners.rename(learners.find(QStringLiteral("小美"))->id, QStringLiteral("小美"), &error));
}

TEST_F(LearnersTest, RemovingKeepsTheRecordsAsABackupAndTheLastLearnerStays)
{
    QString error;
    const auto mei = learners.add(QStringLiteral("小美"), &error);
    ASSERT_TRUE(mei);
    const QString record = data.filePath(mei->id + QStringLiteral("/course-a/lexora.pet"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(record).path()));
    QFile file(record);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    ASSERT_TRUE(learners.remove(mei->id, &error)) << qPrintable(error);
    EXPECT_EQ(names(), QStringList{QStringLiteral("学习者1")});
    const QStringList kept = QDir(data.filePath(QStringLiteral("removed"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(kept.front().startsWith(mei->id + QLatin1Char('-'))) << qPrintable(kept.front());
    EXPECT_TRUE(QFileInfo::exists(data.filePath(QStringLiteral("removed/") + kept.front() +
                                                QStringLiteral("/course-a/lexora.pet"))));
    EXPECT_FALSE(learners.remove(QLatin1String(Learners::kFirstId), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("至少"))) << qPrintable(error);

    // The first learner may go while another stays; the next added never takes a removed one's place.
    ASSERT_TRUE(learners.add(QStringLiteral("小明"), &error));
    ASSERT_TRUE(QDir().mkpath(data.filePath(QLatin1String(Learners::kFirstId))));
    ASSERT_TRUE(learners.remove(QLatin1String(Learners::kFirstId), &error)) << qPrintable(error);
    EXPECT_EQ(names(), QStringList{QStringLiteral("小明")});
    const auto next = learners.add(QStringLiteral("小刚"), &error);
    ASSERT_TRUE(next);
    EXPECT_NE(next->id, mei->id);
}

} // namespace
} // namespace lexora::test
