// One learner's whole session on a copy of the sample course, through the window's own controls: a
// unit chosen, a perfect test, quit with 是, and a second start.
#include "ViewTestKit.h"
#include "app/FormMain.h"
#include "quiz/WordRRK.h"
#include "store/WordStore.h"
#include "views/FormBookUnit.h"
#include "views/Lexivo.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

bool CopyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + path.mid(from.size());
        const bool copied = it.fileInfo().isDir() ? QDir().mkpath(target) : QFile::copy(path, target);
        if (!copied)
            return false;
    }
    return true;
}

struct Counters
{
    int testNum, errNum, rightNum;
    bool operator==(const Counters&) const = default;
};

class Session : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The fixture's folders, filled with the sample course instead of a built one.
        ASSERT_TRUE(CopyTree(QStringLiteral(LEXORA_SAMPLE_STAGE), world.course.root()));
    }
    // A fresh program over the copy, its window initialised and showing the reader.
    void launch()
    {
        window.reset();
        world.program.reset();
        world.program = std::make_unique<Program>(world.course.programFolder(), world.services());
        window = std::make_unique<FormMain>(world.program->context());
        window->runModal = [this](QDialog& dialog) { return onModal ? onModal(dialog) : 0; };
        ASSERT_TRUE(window->Form_Initialize());
        window->show();
        window->ShowFirstView();
    }
    WordStore& store() { return world.program->store; }
    template <class T = QAbstractButton> void click(const char* name, QWidget* in = nullptr)
    {
        auto* control = (in ? in : window.get())->findChild<T*>(QLatin1String(name));
        ASSERT_NE(control, nullptr) << name;
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(8, control->height() / 2));
    }
    std::map<QString, Counters> counters()
    {
        std::map<QString, Counters> all;
        for (int i = 0; i < store().words().count(); ++i) {
            const CWordType& w = store().words().records()[static_cast<size_t>(i)];
            all[w.English] = {w.testNum, w.errNum, w.rightNum};
        }
        return all;
    }

    ViewWorld world{CourseFixture()};
    FakePrompter& prompter = world.prompter;
    std::unique_ptr<FormMain> window;
    std::function<int(QDialog&)> onModal;
};

TEST_F(Session, AUnitChosenAndTestedIsWhereTheNextStartBeginsWithItsRecordsKept)
{
    launch();
    onModal = [](QDialog& dialog) {
        auto& bookUnit = dynamic_cast<FormBookUnit&>(dialog);
        bookUnit.Form_Load();
        bookUnit.findChild<QListWidget*>(QStringLiteral("lstUnit"))->setCurrentRow(1);
        QTest::mouseClick(bookUnit.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        return bookUnit.result();
    };
    click<QToolButton>("imgCommand_0");
    onModal = nullptr;
    ASSERT_EQ(store().catalogue().currentUnit(), 1);
    const QString caption = window->windowTitle();
    EXPECT_TRUE(caption.endsWith(QStringLiteral("Unit 2 Colours"))) << caption.toStdString();
    const std::map<QString, Counters> before = counters();
    const std::int16_t statusBefore = store().catalogue().units()[1].UnitStatus;

    click<QToolButton>("imgCommand_3");
    WordRRK& test = window->recognitionTest();
    for (int guard = 0; guard < 100 && window->iDisplayCtrl == ViewId::RecognitionTest; ++guard) {
        const QuizChoices& c = test.arrChoice();
        const auto right = std::find(c.begin(), c.end(), test.iTestWord()) - c.begin();
        click<QRadioButton>(QStringLiteral("optAns_%1").arg(right).toLatin1().constData(), &test);
        click("cmdOK", &test);
    }
    EXPECT_EQ(prompter.texts().back(), QStringLiteral("你好棒喔！全对了耶！！"));
    EXPECT_EQ(window->iDisplayCtrl, ViewId::Reader);

    prompter.queueAnswer(Prompter::Answer::Yes);
    ASSERT_TRUE(window->close());
    launch();
    EXPECT_EQ(window->windowTitle(), caption);
    EXPECT_EQ(store().catalogue().currentUnit(), 1);
    EXPECT_EQ(store().catalogue().units()[1].UnitStatus, MergeUnitStatus(statusBefore, UnitMark::TestDone));
    const std::map<QString, Counters> after = counters();
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [english, was] : before)
        EXPECT_EQ(after.at(english), (Counters{was.testNum + 1, was.errNum, was.rightNum + 1}))
            << english.toStdString();
    EXPECT_TRUE(QDir(world.pics()).entryList({QStringLiteral("*.jpg")}).isEmpty());
}

} // namespace
} // namespace lexora::test
