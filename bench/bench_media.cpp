// The media work a view does per picture: showing a word's picture (decode, load a 400 x 300 JPEG,
// leave the folder encoded) and one frame of the reader's slide transition at 400 x 300.
#include "media/MediaFiles.h"
#include "media/PictureBox.h"
#include "media/Transition.h"
#include "store/FileHead.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace lexora;

QImage samplePicture()
{
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 400, 300);
    gradient.setColorAt(0, QColor(250, 220, 120));
    gradient.setColorAt(1, QColor(60, 140, 220));
    painter.fillRect(image.rect(), gradient);
    QRandomGenerator rng(7);
    for (int i = 0; i < 300; ++i) {
        painter.setBrush(QColor::fromRgb(rng.generate()));
        painter.drawEllipse(QPoint(rng.bounded(400), rng.bounded(300)), rng.bounded(5, 40),
                            rng.bounded(5, 40));
    }
    return image;
}

QByteArray folderState(const QString& folder)
{
    QByteArray state;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        QFile file(folder + QLatin1Char('/') + name);
        file.open(QIODevice::ReadOnly);
        state += name.toUtf8() + '\0' + file.readAll();
    }
    return state;
}

void BM_ShowWordPicture(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString pics = dir.filePath(QStringLiteral("Common/pics"));
    QDir().mkpath(pics);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    samplePicture().save(&buffer, "JPG", 85);
    CryptBytesHead(jpeg);
    QFile file(pics + QStringLiteral("/ice cream.pet"));
    file.open(QIODevice::WriteOnly);
    file.write(jpeg);
    file.close();

    MediaFiles media(
        MediaFolders(dir.filePath(QStringLiteral("Lexora")), dir.filePath(QStringLiteral("Common"))));
    const QByteArray before = folderState(pics);
    for (auto _ : state) {
        std::optional<QImage> picture = media.TakeWordPic(QStringLiteral("ice cream"));
        benchmark::DoNotOptimize(picture);
        if (!picture || picture->size() != QSize(400, 300))
            state.SkipWithError("the picture did not load");
    }
    if (folderState(pics) != before)
        state.SkipWithError("the media folder changed");
    state.counters["jpeg_bytes"] = static_cast<double>(jpeg.size());
}
BENCHMARK(BM_ShowWordPicture)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// One frame: every stripe's copy at a mid-slide width, then the destination repainted.
void BM_TransitionFrame(benchmark::State& state)
{
    const int direction = static_cast<int>(state.range(0));
    PictureBox dest;
    PictureBox src;
    for (PictureBox* box : {&dest, &src}) {
        box->resize(400, 300);
        box->show();
    }
    src.setImage(samplePicture());
    const int length = direction == Transition::Horizontal ? 400 : 300;
    int grown = 0;
    for (auto _ : state) {
        DrawInterleaveFrame(dest.surface(), src.image(), direction, grown, 1, true);
        dest.repaint();
        grown = (grown + 5) % length;
    }
}
BENCHMARK(BM_TransitionFrame)
    ->Arg(Transition::Horizontal)
    ->Arg(Transition::Vertical)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace
