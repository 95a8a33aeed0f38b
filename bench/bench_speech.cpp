// The spoken-word check measured on the sample course: every word read by three synthetic voices,
// plain, pitched up like a child's voice and over background noise, judged against its own word and
// against another word of its unit; silence and noise alone; and the time from the end of a reading
// to its verdict. Prints a table. Run it under nice: it keeps both cores busy for minutes.
//
//   bench_speech [--course FILE.tsv] [--set FOLDER] [--leniency L1,L2,...] [--confusions all]
//
// --set keeps the synthesised readings in FOLDER and reuses them on the next run; each leniency gets
// its own table from the same checks (the confusions are listed for the last one, or for all), and
// each voice is judged once more with the leniency these tables would pick on the other two voices.
#include "media/WavFile.h"
#include "course/CourseSource.h"
#include "speech/SpeechAudio.h"
#include "speech/SphinxChecker.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

using namespace lexora;

namespace {

const QStringList kVoices = {QStringLiteral("kal16"), QStringLiteral("awb"), QStringLiteral("rms")};

struct Variant
{
    QString name;
    int cents = 0;
    bool noise = false;
};

const std::vector<Variant> kVariants = {{QStringLiteral("plain"), 0, false},
                                        {QStringLiteral("+4"), 400, false},
                                        {QStringLiteral("+7"), 700, false},
                                        {QStringLiteral("noise"), 0, true}};

constexpr double kReadingSeconds = 2.0;
constexpr double kLeadSeconds = 0.4;
constexpr double kSnrDb = 20.0;
// Readings of the right word that should be judged good, in per cent.
constexpr double kOwnGoal = 97.0;

bool Run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        std::fprintf(stderr, "bench_speech: %s %s failed: %s\n", qUtf8Printable(program),
                     qUtf8Printable(args.join(QLatin1Char(' '))), process.readAllStandardError().constData());
        return false;
    }
    return true;
}

double Seconds(const QString& wav)
{
    const auto audio = ReadWavFile(wav);
    return audio ? static_cast<double>(audio->data.size()) / audio->format.byteRate() : 0.0;
}

double Rms(const QString& wav)
{
    const auto audio = ReadWavFile(wav);
    if (!audio)
        return 0;
    const auto samples = RecognizerSamples(*audio);
    double sum = 0;
    for (const auto s : samples)
        sum += static_cast<double>(s) * s;
    return samples.empty() ? 0 : std::sqrt(sum / samples.size());
}

// A reading as the panel records it: 44.1 kHz stereo, the word after a short pause, at least 2 s.
bool MakeReading(const QString& voiceWav, const Variant& variant, const QString& noiseWav, const QString& out)
{
    const double rest = std::max(kLeadSeconds, kReadingSeconds - kLeadSeconds - Seconds(voiceWav));
    QStringList effects;
    if (variant.cents != 0)
        effects << QStringLiteral("pitch") << QString::number(variant.cents);
    effects << QStringLiteral("pad") << QString::number(kLeadSeconds) << QString::number(rest);
    const QString shaped = variant.noise ? out + QStringLiteral(".clean.wav") : out;
    if (!Run(QStringLiteral("sox"), QStringList{voiceWav, QStringLiteral("-r"), QStringLiteral("44100"),
                                                QStringLiteral("-c"), QStringLiteral("2"), shaped}
                                        << effects))
        return false;
    if (!variant.noise)
        return true;
    // Noise at 20 dB below the reading's own level, over its whole length.
    const double scale = Rms(shaped) / Rms(noiseWav) / std::pow(10.0, kSnrDb / 20.0);
    const bool ok = Run(QStringLiteral("sox"),
                        {QStringLiteral("-m"), QStringLiteral("-v"), QStringLiteral("1"), shaped,
                         QStringLiteral("-v"), QString::number(scale), noiseWav, out, QStringLiteral("trim"),
                         QStringLiteral("0"), QString::number(Seconds(shaped))});
    QFile::remove(shaped);
    return ok;
}

struct Reading
{
    QString file;
    QString word;
    QString other;
    QStringList unitWords;
    QString group; // voice or variant
    QString variant;
};

struct Tally
{
    int total = 0;
    int good = 0;
    int again = 0;
    int silent = 0;
    void add(ReadingVerdict v)
    {
        ++total;
        good += v == ReadingVerdict::Good;
        again += v == ReadingVerdict::Again;
        silent += v == ReadingVerdict::Silent;
    }
};

double Percent(int part, int whole)
{
    return whole ? 100.0 * part / whole : 0.0;
}

double Quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
}

// The verdict a check would have given with another leniency.
ReadingVerdict VerdictAt(const ReadingResult& result, double leniency)
{
    if (!result.shortfall)
        return result.verdict;
    return *result.shortfall <= leniency ? ReadingVerdict::Good : ReadingVerdict::Again;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QString coursePath = QStringLiteral(LEXORA_SOURCE_DIR "/data/sample-course.tsv");
    QString setFolder;
    std::vector<double> leniencies = {kLeniency};
    bool verbose = false;
    const QStringList args = QCoreApplication::arguments().mid(1);
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--course"))
            coursePath = args[i + 1];
        else if (args[i] == QLatin1String("--set"))
            setFolder = args[i + 1];
        else if (args[i] == QLatin1String("--leniency")) {
            leniencies.clear();
            for (const QString& w : args[i + 1].split(QLatin1Char(',')))
                leniencies.push_back(w.toDouble());
        } else if (args[i] == QLatin1String("--confusions"))
            verbose = args[i + 1] == QLatin1String("all");
    }
    const CourseParse parsed = ReadCourseSource(coursePath);
    if (!std::holds_alternative<CourseSource>(parsed)) {
        std::fprintf(stderr, "bench_speech: cannot read %s\n", qUtf8Printable(coursePath));
        return 1;
    }
    const CourseSource& course = std::get<CourseSource>(parsed);
    QTemporaryDir temp;
    const QDir folder(setFolder.isEmpty() ? temp.path() : setFolder);
    QDir().mkpath(folder.path());

    // Background noise and the readings that hold no word.
    const QString noise = folder.filePath(QStringLiteral("noise.wav"));
    const QString silence = folder.filePath(QStringLiteral("silence.wav"));
    const QString hiss = folder.filePath(QStringLiteral("hiss.wav"));
    const QString loud = folder.filePath(QStringLiteral("noise-only.wav"));
    const auto synth = [](const QString& out, const QStringList& tail) {
        return QFileInfo::exists(out) ||
               Run(QStringLiteral("sox"),
                   QStringList{QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                               QStringLiteral("-c"), QStringLiteral("2"), QStringLiteral("-b"),
                               QStringLiteral("16"), out, QStringLiteral("synth"), QStringLiteral("4")} +
                       tail);
    };
    if (!synth(noise, {QStringLiteral("pinknoise")}) ||
        !synth(silence,
               {QStringLiteral("sine"), QStringLiteral("0"), QStringLiteral("vol"), QStringLiteral("0")}) ||
        !synth(hiss, {QStringLiteral("whitenoise"), QStringLiteral("vol"), QStringLiteral("0.001")}) ||
        !synth(loud, {QStringLiteral("pinknoise"), QStringLiteral("vol"), QStringLiteral("0.05")}))
        return 1;

    std::map<std::pair<int, int>, QStringList> units;
    for (const CourseWord& w : course.words)
        units[{w.book, w.unit}] << w.english;
    std::vector<Reading> readings;
    std::fprintf(stderr, "bench_speech: making the evaluation set in %s\n", qUtf8Printable(folder.path()));
    int index = 0;
    for (const CourseWord& w : course.words) {
        const QStringList& unit = units[{w.book, w.unit}];
        const QString other = unit.size() > 1 ? unit[(unit.indexOf(w.english) + 1) % unit.size()] : QString();
        for (const QString& voice : kVoices) {
            const QString base = folder.filePath(QStringLiteral("w%1-%2").arg(index).arg(voice));
            const QString spoken = base + QStringLiteral(".wav");
            if (!QFileInfo::exists(spoken) &&
                !Run(QStringLiteral("flite"), {QStringLiteral("-voice"), voice, QStringLiteral("-t"),
                                               w.english, QStringLiteral("-o"), spoken}))
                return 1;
            for (const Variant& variant : kVariants) {
                const QString file = base + QLatin1Char('_') + variant.name + QStringLiteral(".wav");
                if (!QFileInfo::exists(file) && !MakeReading(spoken, variant, noise, file))
                    return 1;
                readings.push_back({file, w.english, other, unit, voice, variant.name});
            }
        }
        ++index;
    }

    SphinxChecker checker;
    if (!checker.prepare()) {
        std::fprintf(stderr, "bench_speech: the recogniser or its model is missing\n");
        return 1;
    }
    struct Outcome
    {
        const Reading* reading;
        ReadingResult mine;
        std::optional<ReadingResult> theirs;
    };
    std::vector<Outcome> outcomes;
    std::vector<double> times;
    for (const Reading& r : readings) {
        QElapsedTimer timer;
        timer.start();
        Outcome outcome{&r, checker.check(r.file, r.word, r.unitWords), std::nullopt};
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (!r.other.isEmpty()) {
            timer.restart();
            outcome.theirs = checker.check(r.file, r.other, r.unitWords);
            times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
        outcomes.push_back(outcome);
    }
    std::vector<ReadingResult> empty;
    for (const auto& [key, unit] : units)
        for (const QString& file : {silence, hiss, loud})
            empty.push_back(checker.check(file, unit.front(), unit));

    // Where the shortfalls lie: a leniency between the two rows tells the readings apart.
    std::vector<double> ownShort;
    std::vector<double> otherShort;
    for (const Outcome& o : outcomes) {
        if (o.mine.shortfall)
            ownShort.push_back(*o.mine.shortfall);
        if (o.theirs && o.theirs->shortfall)
            otherShort.push_back(*o.theirs->shortfall);
    }
    std::printf("shortfall of the word when another was heard (percentiles 10 / 25 / 50 / 75 / 90):\n");
    for (const auto& [name, values] : {std::pair{"own word", &ownShort}, {"other word", &otherShort}})
        std::printf("  %-10s %5zu readings %8.0f %8.0f %8.0f %8.0f %8.0f\n", name, values->size(),
                    Quantile(*values, 0.1), Quantile(*values, 0.25), Quantile(*values, 0.5),
                    Quantile(*values, 0.75), Quantile(*values, 0.9));
    for (const double leniency : leniencies) {
        std::map<QString, Tally> own;
        std::map<QString, Tally> others;
        Tally ownAll;
        Tally otherAll;
        Tally emptyAll;
        std::map<QString, int> confusions;
        for (const Outcome& o : outcomes) {
            const Reading& r = *o.reading;
            const ReadingVerdict mine = VerdictAt(o.mine, leniency);
            own[r.group].add(mine);
            own[r.variant].add(mine);
            ownAll.add(mine);
            if (mine != ReadingVerdict::Good)
                ++confusions[r.word + QStringLiteral(" → ") +
                             (o.mine.hypothesis.isEmpty() ? QStringLiteral("(nothing)") : o.mine.hypothesis)];
            if (!o.theirs)
                continue;
            const ReadingVerdict theirs = VerdictAt(*o.theirs, leniency);
            others[r.group].add(theirs);
            others[r.variant].add(theirs);
            otherAll.add(theirs);
            if (theirs == ReadingVerdict::Good)
                ++confusions[r.word + QStringLiteral(" taken for ") + r.other];
        }
        for (const ReadingResult& result : empty)
            emptyAll.add(VerdictAt(result, leniency));
        std::printf("\nleniency %g: %zu readings of %zu words\n", leniency, readings.size(),
                    course.words.size());
        std::printf("%-8s %8s %14s %14s\n", "", "readings", "own word good", "other again");
        for (const auto& [group, tally] : own)
            std::printf("%-8s %8d %13.1f%% %13.1f%%\n", qUtf8Printable(group), tally.total,
                        Percent(tally.good, tally.total), Percent(others[group].again, others[group].total));
        std::printf("%-8s %8d %13.1f%% %13.1f%%\n", "all", ownAll.total, Percent(ownAll.good, ownAll.total),
                    Percent(otherAll.again, otherAll.total));
        std::printf("own word heard as silent: %d; other word judged good: %d\n", ownAll.silent,
                    otherAll.good);
        std::printf("silence and noise alone: %d readings, %d good, %d again, %d silent\n", emptyAll.total,
                    emptyAll.good, emptyAll.again, emptyAll.silent);
        if (verbose || leniency == leniencies.back()) {
            std::printf("misses and confusions:\n");
            for (const auto& [what, count] : confusions)
                std::printf("  %3d  %s\n", count, qUtf8Printable(what));
        }
    }
    // Tuned on two voices, tried on the third: the strictest leniency whose own-word rate on the two
    // reaches the goal (or the most lenient one given), and what it gives on the voice left out.
    std::vector<double> strictFirst = leniencies;
    std::sort(strictFirst.begin(), strictFirst.end());
    const auto rates = [&](const QString& voice, bool heldOut, double leniency) {
        Tally mine;
        Tally theirs;
        for (const Outcome& o : outcomes) {
            if ((o.reading->group == voice) != heldOut)
                continue;
            mine.add(VerdictAt(o.mine, leniency));
            if (o.theirs)
                theirs.add(VerdictAt(*o.theirs, leniency));
        }
        return std::pair{Percent(mine.good, mine.total), Percent(theirs.again, theirs.total)};
    };
    std::printf("\nheld out (own word good / other again):\n");
    for (const QString& voice : kVoices) {
        double chosen = strictFirst.back();
        for (const double leniency : strictFirst) {
            if (rates(voice, false, leniency).first >= kOwnGoal) {
                chosen = leniency;
                break;
            }
        }
        const auto [tuneOwn, tuneOther] = rates(voice, false, chosen);
        const auto [heldOwn, heldOther] = rates(voice, true, chosen);
        std::printf("  %-6s leniency %g: tuning voices %.1f%% / %.1f%%, held out %.1f%% / %.1f%%\n",
                    qUtf8Printable(voice), chosen, tuneOwn, tuneOther, heldOwn, heldOther);
    }

    // Other work on the machine slows the check down as much as anything in it: say how busy it was.
    QFile loadFile(QStringLiteral("/proc/loadavg"));
    const QByteArray load =
        loadFile.open(QIODevice::ReadOnly) ? loadFile.readLine().trimmed() : QByteArray("?");
    std::printf(
        "\ntime from the end of a %.0f s reading to its verdict: median %.0f ms, 90th percentile %.0f ms, "
        "slowest %.0f ms (load average %s)\n",
        kReadingSeconds, Quantile(times, 0.5), Quantile(times, 0.9), Quantile(times, 1.0), load.constData());
    return 0;
}
