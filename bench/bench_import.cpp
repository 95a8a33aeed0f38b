// Importing a long word list: 500,000 lines, mostly repeats of 2,000 words (a third with a meaning),
// read, placed into units of 10, reported and written as a course source; then such a list with
// every meaning read the way build reads it (in units of 100), through the course source's own checks.
// Reported as the median of five runs.
#include "course/CourseImport.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace lexora;

namespace {

constexpr int kLines = 500000;

struct LongList
{
    explicit LongList(int meaningEvery)
    {
        QByteArray text;
        text.reserve(kLines * 16);
        for (int i = 0; i < kLines; ++i) {
            text.append("word").append(QByteArray::number(static_cast<qint64>(i) * 7919 % 2000));
            text.append(i % meaningEvery == 0 ? "\t词\n" : "\n");
        }
        QFile file(path());
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            std::abort();
    }
    QString path() const { return dir.filePath(QStringLiteral("list.txt")); }
    QTemporaryDir dir;
};

const LongList& list()
{
    static const LongList made(3);
    return made;
}

const LongList& fullList()
{
    static const LongList made(1);
    return made;
}

void BM_ImportLongList(benchmark::State& state)
{
    size_t notes = 0;
    for (auto _ : state) {
        const ImportResult imported = ImportCourse(list().path(), {});
        const auto& result = std::get<CourseImport>(imported);
        notes = result.notes.size();
        benchmark::DoNotOptimize(CourseSourceText(result, list().path(), list().dir.path()));
    }
    state.counters["notes"] = static_cast<double>(notes);
}
BENCHMARK(BM_ImportLongList)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_BuildReadsLongList(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<CourseError> notes;
        // Units of 100: unit numbers are 16-bit, and 50,000 units of 10 are refused.
        const CourseParse parsed = ReadAnyCourse(fullList().path(), {{}, {}, {}, 100}, &notes);
        if (const auto* error = std::get_if<CourseError>(&parsed)) {
            state.SkipWithError(qPrintable(error->describe(fullList().path())));
            break;
        }
    }
}
BENCHMARK(BM_BuildReadsLongList)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
