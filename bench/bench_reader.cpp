// One step of the word reader to the next word, without sound and without the slide: texts, font
// fitting, thumbnails and the big picture. Stepping within a page of thumbnails, and onto a new page
// (eight thumbnails, which the reader decodes ahead while the learner looks at the word before).
#include "ViewTestKit.h"
#include "media/Transition.h"
#include "views/Lexivo.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

using namespace lexora;
using namespace lexora::test;

constexpr int kWords = 64;
constexpr int kLookMs = 40;

// Pictures with detail, so decoding costs what a real word picture costs.
void WritePicture(const QString& path, int seed)
{
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 400, 300);
    gradient.setColorAt(0, QColor::fromHsv(seed * 37 % 360, 120, 250));
    gradient.setColorAt(1, QColor(60, 140, 220));
    painter.fillRect(image.rect(), gradient);
    QRandomGenerator rng(static_cast<quint32>(seed));
    for (int i = 0; i < 60; ++i) {
        painter.setBrush(QColor::fromRgb(rng.generate()));
        painter.drawEllipse(QPointF(rng.bounded(400), rng.bounded(300)), rng.bounded(10, 60),
                            rng.bounded(10, 60));
    }
    painter.end();
    image.save(path, "JPEG", 90);
}

struct ReaderBench
{
    ReaderBench() : world(ViewWorld::courseOf(Words()))
    {
        for (int i = 0; i < kWords; ++i)
            WritePicture(world.pics() + QStringLiteral("/word%1.jpg").arg(i), i);
        if (!world.open())
            return;
        reader = std::make_unique<Lexivo>(world.program->context(), world.host);
        reader->resize(816, 545);
        reader->show();
        reader->InitUserControl();
        reader->findChild<QCheckBox*>(QStringLiteral("chkAutoRead"))->setChecked(false);
        // Each slide is stopped at its first frame, so a step costs what it costs without the slide.
        world.clock.onEvents = [this] { world.program->transition.stop(); };
        reader->ChangeWord(0);
    }
    static QStringList Words()
    {
        QStringList words;
        for (int i = 0; i < kWords; ++i)
            words << QStringLiteral("word%1").arg(i);
        return words;
    }
    bool ready() const { return reader != nullptr; }
    // A learner looks at a word for a moment before the next step; the reader works ahead meanwhile.
    static void learnerLooks()
    {
        QEventLoop loop;
        QTimer::singleShot(kLookMs, &loop, &QEventLoop::quit);
        loop.exec();
    }

    ViewWorld world;
    std::unique_ptr<Lexivo> reader;
};

void BM_NextWordWithinPage(benchmark::State& state)
{
    ReaderBench bench;
    if (!bench.ready()) {
        state.SkipWithError("course not built");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        // Words 0..6 step to a word on the same page.
        if (bench.world.program->store.words().current() % 8 == 7)
            bench.reader->ChangeWord(0);
        bench.learnerLooks();
        state.ResumeTiming();
        bench.reader->cmdNextWord_Click();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_NextWordWithinPage)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_NextWordOntoANewPage(benchmark::State& state)
{
    ReaderBench bench;
    if (!bench.ready()) {
        state.SkipWithError("course not built");
        return;
    }
    int page = 0;
    for (auto _ : state) {
        state.PauseTiming();
        page = (page + 1) % (kWords / 8);
        // The last word of the page before, so that next opens a page not shown yet.
        bench.reader->ChangeWord(static_cast<std::int16_t>((page * 8 + kWords - 1) % kWords));
        bench.learnerLooks();
        state.ResumeTiming();
        bench.reader->cmdNextWord_Click();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_NextWordOntoANewPage)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
