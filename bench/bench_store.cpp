// Word store timings: one query cycle on the scrambled file, a 5,000-word range load, and
// 1,000 word results written back word by word and as one run.
#include "CourseFixture.h"
#include "FakePrompter.h"
#include "store/Random.h"
#include "store/WordStore.h"

#include <benchmark/benchmark.h>

using namespace lexora;
using lexora::test::CourseFixture;
using lexora::test::FakePrompter;

namespace {

// A course of one book with 10 units of 500 words each.
struct BigCourse
{
    BigCourse()
    {
        course.units.clear();
        course.words.clear();
        for (int u = 0; u < 10; ++u) {
            course.units.push_back(
                {0, QStringLiteral("Book"), u, QStringLiteral("Unit %1").arg(u), QVariant()});
            for (int w = 0; w < 500; ++w)
                course.words.push_back({0, u, QStringLiteral("word%1x%2").arg(u).arg(w), QStringLiteral("词"),
                                        0, QStringLiteral("3|1|2")});
        }
        if (!course.build())
            std::abort();
        store = std::make_unique<WordStore>(course.programFolder(), prompter, random);
        if (!store->LoadSettings())
            std::abort();
    }
    CourseFixture course;
    FakePrompter prompter;
    SystemRandom random;
    std::unique_ptr<WordStore> store;
};

void QueryCycle(benchmark::State& state)
{
    BigCourse big;
    for (auto _ : state) {
        QString error;
        if (!big.store->database().open(QStringLiteral("select * from FeatureTable"), {}, &error))
            state.SkipWithError("open failed");
        benchmark::DoNotOptimize(big.store->database().rows().RecordCount());
        big.store->database().close();
    }
}
BENCHMARK(QueryCycle)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void RangeLoad5000Words(benchmark::State& state)
{
    BigCourse big;
    for (auto _ : state) {
        if (!big.store->LoadUnitRangeWords(0, 0, 9) || big.store->words().count() != 5000)
            state.SkipWithError("load failed");
    }
}
BENCHMARK(RangeLoad5000Words)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void SaveRun1000(benchmark::State& state)
{
    BigCourse big;
    if (!big.store->LoadUnitRangeWords(0, 0, 1))
        state.SkipWithError("load failed");
    std::vector<int> run(1000);
    for (int i = 0; i < 1000; ++i)
        run[static_cast<size_t>(i)] = i;
    for (auto _ : state) {
        for (int i : run)
            ++big.store->words().word(i)->testNum;
        if (!big.store->SaveWordResults(run))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(SaveRun1000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
