// The spoken-word check measured on readings it was not tuned on: every word of the sample course read by
// two synthesisers, several voices each, plain, pitched up like a child's voice, slowed and hurried, over
// noise and over a second voice murmuring behind; each judged against its own word and against another
// word of its unit; silence, noise and murmur alone; and the time from the end of a reading to its
// verdict. The leniency is tuned on one synthesiser and the tables are those of the other, both ways.
// Run it under nice: it keeps a core busy for many minutes.
//
//   bench_speech [--course FILE.tsv] [--set FOLDER] [--sample N] [--confusions all]
//
// --set keeps the synthesised readings in FOLDER and reuses them on the next run; --sample N judges
// one reading in N (every voice and variant still among them when N shares no factor with their counts).
// Confusions are listed for the held-out tables, near misses too with --confusions all.
#include "course/CourseSource.h"
#include "media/WavFile.h"
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

struct Voice
{
    QString synth;
    QString name;
};

const std::vector<Voice> kVoices = {{QStringLiteral("flite"), QStringLiteral("kal16")},
                                    {QStringLiteral("flite"), QStringLiteral("awb")},
                                    {QStringLiteral("flite"), QStringLiteral("rms")},
                                    {QStringLiteral("flite"), QStringLiteral("slt")},
                                    {QStringLiteral("espeak-ng"), QStringLiteral("en-us")},
                                    {QStringLiteral("espeak-ng"), QStringLiteral("en-gb+m3")},
                                    {QStringLiteral("espeak-ng"), QStringLiteral("en-us+f3")},
                                    {QStringLiteral("espeak-ng"), QStringLiteral("en-gb-x-rp+f4")}};
const QStringList kSynths = {QStringLiteral("flite"), QStringLiteral("espeak-ng")};

struct Variant
{
    QString name;
    int cents = 0;
    double tempo = 1.0;
    // Signal to noise in dB; none when 0. The murmur is another voice of the same synthesiser.
    double snr = 0;
    bool murmur = false;
};

const std::vector<Variant> kVariants = {{QStringLiteral("plain")},
                                        {QStringLiteral("+3"), 300},
                                        {QStringLiteral("+5"), 500},
                                        {QStringLiteral("+7"), 700},
                                        {QStringLiteral("slow"), 0, 0.8},
                                        {QStringLiteral("fast"), 0, 1.25},
                                        {QStringLiteral("snr20"), 0, 1.0, 20},
                                        {QStringLiteral("snr10"), 0, 1.0, 10},
                                        {QStringLiteral("murmur"), 0, 1.0, 15, true}};

constexpr double kReadingSeconds = 2.0;
constexpr double kLeadSeconds = 0.4;

// The leniencies tried while tuning.
const std::vector<double> kNearGrid = {0, 1, 2, 3, 4, 5, 6, 8, 10, 12, 15, 20};
const std::vector<double> kShortGrid = {0, 1, 2, 3, 4, 6, 8, 10};

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

// The level of the voice in a file: its frames within 30 dB of the loudest, so that quiet around the word
// does not count.
double VoiceRms(const QString& wav)
{
    const auto audio = ReadWavFile(wav);
    if (!audio)
        return 0;
    const auto samples = RecognizerSamples(*audio);
    std::vector<double> levels;
    for (std::size_t at = 0; at + 160 <= samples.size(); at += 160) {
        double sum = 0;
        for (std::size_t i = at; i < at + 160; ++i)
            sum += static_cast<double>(samples[i]) * samples[i];
        levels.push_back(sum / 160);
    }
    if (levels.empty())
        return 0;
    const double floor = *std::max_element(levels.begin(), levels.end()) / 1000;
    double sum = 0;
    int count = 0;
    for (const double l : levels) {
        if (l >= floor) {
            sum += l;
            ++count;
        }
    }
    return std::sqrt(sum / count);
}

bool Speak(const Voice& voice, const QString& text, const QString& out)
{
    if (QFileInfo::exists(out))
        return true;
    if (voice.synth == QLatin1String("flite"))
        return Run(QStringLiteral("flite"), {QStringLiteral("-voice"), voice.name, QStringLiteral("-t"), text,
                                             QStringLiteral("-o"), out});
    return Run(QStringLiteral("espeak-ng"),
               {QStringLiteral("-v"), voice.name, QStringLiteral("-w"), out, text});
}

// A reading as the panel records it: 44.1 kHz stereo, the word after a short pause, at least 2 s; with
// noise or a murmur mixed in at the variant's distance below the voice.
bool MakeReading(const QString& voiceWav, const Variant& variant, const QString& background,
                 const QString& out)
{
    const double spoken = Seconds(voiceWav) / variant.tempo;
    const double rest = std::max(kLeadSeconds, kReadingSeconds - kLeadSeconds - spoken);
    QStringList effects;
    if (variant.cents != 0)
        effects << QStringLiteral("pitch") << QString::number(variant.cents);
    if (variant.tempo != 1.0)
        effects << QStringLiteral("tempo") << QStringLiteral("-s") << QString::number(variant.tempo);
    effects << QStringLiteral("pad") << QString::number(kLeadSeconds) << QString::number(rest);
    const bool mixed = variant.snr != 0;
    const QString shaped = mixed ? out + QStringLiteral(".clean.wav") : out;
    if (!Run(QStringLiteral("sox"), QStringList{voiceWav, QStringLiteral("-r"), QStringLiteral("44100"),
                                                QStringLiteral("-c"), QStringLiteral("2"), shaped}
                                        << effects))
        return false;
    if (!mixed)
        return true;
    const double scale = VoiceRms(voiceWav) / VoiceRms(background) / std::pow(10.0, variant.snr / 20.0);
    const bool ok = Run(QStringLiteral("sox"),
                        {QStringLiteral("-m"), QStringLiteral("-v"), QStringLiteral("1"), shaped,
                         QStringLiteral("-v"), QString::number(scale), background, out,
                         QStringLiteral("trim"), QStringLiteral("0"), QString::number(Seconds(shaped))});
    QFile::remove(shaped);
    return ok;
}

struct Reading
{
    QString file;
    QString word;
    QString other;
    QStringList unitWords;
    int synth = 0;
    QString voice;
    QString variant;
};

struct Tally
{
    int total = 0;
    int hits = 0;
    void add(bool hit)
    {
        ++total;
        hits += hit;
    }
    double percent() const { return total ? 100.0 * hits / total : 100.0; }
};

double Quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
}

struct Outcome
{
    const Reading* reading;
    ReadingResult mine;
    ReadingResult theirs;
    // Phones of the word read apart from the other word, and the fewer phones of each check's word and
    // the word the recogniser heard instead.
    int pairApart = 0;
    int mineShorter = 0;
    int theirsShorter = 0;
};

// The verdict a check would have given with another leniency.
ReadingVerdict VerdictAt(const ReadingResult& result, int shorter, const Leniency& leniency)
{
    if (!result.shortfall || !result.apart)
        return result.verdict;
    return *result.shortfall <= AllowedShortfall(*result.apart, shorter, leniency) ? ReadingVerdict::Good
                                                                                   : ReadingVerdict::Again;
}

struct Rates
{
    Tally own;
    Tally other;
    Tally far; // the other word two or more phones from the word read
};

Rates RatesOf(const std::vector<Outcome>& outcomes, int synth, const Leniency& leniency)
{
    Rates rates;
    for (const Outcome& o : outcomes) {
        if (o.reading->synth != synth)
            continue;
        rates.own.add(VerdictAt(o.mine, o.mineShorter, leniency) == ReadingVerdict::Good);
        const bool again = VerdictAt(o.theirs, o.theirsShorter, leniency) == ReadingVerdict::Again;
        rates.other.add(again);
        if (o.pairApart >= 2)
            rates.far.add(again);
    }
    return rates;
}

// What tuning on one synthesiser picks: the leniency under which the worse of its own-word and
// other-word rates is best, the stricter one on a tie.
Leniency Tune(const std::vector<Outcome>& outcomes, int synth)
{
    Leniency best{0, 0};
    double bestScore = -1;
    for (const double near : kNearGrid) {
        for (const double shortNear : kShortGrid) {
            const Rates rates = RatesOf(outcomes, synth, {near, shortNear});
            const double score = std::min(rates.own.percent(), rates.other.percent());
            if (score > bestScore + 1e-9) {
                bestScore = score;
                best = {near, shortNear};
            }
        }
    }
    return best;
}

void PrintTable(const std::vector<Outcome>& outcomes, int synth, const Leniency& leniency, bool nearMisses)
{
    std::map<QString, Rates> groups;
    std::map<QString, int> confusions;
    for (const Outcome& o : outcomes) {
        const Reading& r = *o.reading;
        if (r.synth != synth)
            continue;
        const ReadingVerdict mine = VerdictAt(o.mine, o.mineShorter, leniency);
        const ReadingVerdict theirs = VerdictAt(o.theirs, o.theirsShorter, leniency);
        for (const QString& group : {r.variant, r.voice}) {
            groups[group].own.add(mine == ReadingVerdict::Good);
            groups[group].other.add(theirs == ReadingVerdict::Again);
            if (o.pairApart >= 2)
                groups[group].far.add(theirs == ReadingVerdict::Again);
        }
        if (mine != ReadingVerdict::Good && (nearMisses || !o.mine.shortfall))
            ++confusions[QStringLiteral("%1 → %2").arg(
                r.word, o.mine.hypothesis.isEmpty() ? QStringLiteral("(nothing)") : o.mine.hypothesis)];
        else if (mine != ReadingVerdict::Good)
            ++confusions[QStringLiteral("%1 → %2 (near miss)").arg(r.word, o.mine.hypothesis)];
        if (theirs == ReadingVerdict::Good)
            ++confusions
                [QStringLiteral("%1 taken for %2 (%3 phones apart)").arg(r.word, r.other).arg(o.pairApart)];
    }
    const Rates all = RatesOf(outcomes, synth, leniency);
    std::printf("\nheld out: %s (leniency near %g, short %g, tuned on %s)\n", qUtf8Printable(kSynths[synth]),
                leniency.near, leniency.shortNear, qUtf8Printable(kSynths[1 - synth]));
    std::printf("%-14s %8s %14s %14s %16s\n", "group", "readings", "own word good", "other again",
                "2+ phones again");
    const QString* worstOwn = nullptr;
    const QString* worstOther = nullptr;
    for (const auto& [group, rates] : groups) {
        std::printf("%-14s %8d %13.1f%% %13.1f%% %15.1f%%\n", qUtf8Printable(group), rates.own.total,
                    rates.own.percent(), rates.other.percent(), rates.far.percent());
        if (!worstOwn || rates.own.percent() < groups[*worstOwn].own.percent())
            worstOwn = &group;
        if (!worstOther || rates.other.percent() < groups[*worstOther].other.percent())
            worstOther = &group;
    }
    std::printf("%-14s %8d %13.1f%% %13.1f%% %15.1f%%\n", "all", all.own.total, all.own.percent(),
                all.other.percent(), all.far.percent());
    if (worstOwn)
        std::printf("worst group: own word good %.1f%% (%s), other again %.1f%% (%s)\n",
                    groups[*worstOwn].own.percent(), qUtf8Printable(*worstOwn),
                    groups[*worstOther].other.percent(), qUtf8Printable(*worstOther));
    std::printf("misses and confusions:\n");
    for (const auto& [what, count] : confusions)
        std::printf("  %3d  %s\n", count, qUtf8Printable(what));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QString coursePath = QStringLiteral(LEXORA_SOURCE_DIR "/data/sample-course.tsv");
    QString setFolder;
    int sample = 1;
    bool nearMisses = false;
    const QStringList args = QCoreApplication::arguments().mid(1);
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--course"))
            coursePath = args[i + 1];
        else if (args[i] == QLatin1String("--set"))
            setFolder = args[i + 1];
        else if (args[i] == QLatin1String("--sample"))
            sample = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--confusions"))
            nearMisses = args[i + 1] == QLatin1String("all");
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
    std::fprintf(stderr, "bench_speech: making the evaluation set in %s\n", qUtf8Printable(folder.path()));

    // Background noise, and the readings that hold no word.
    const QString noise = folder.filePath(QStringLiteral("noise.wav"));
    QStringList empties = {folder.filePath(QStringLiteral("silence.wav")),
                           folder.filePath(QStringLiteral("hiss.wav")),
                           folder.filePath(QStringLiteral("noise-only.wav"))};
    const auto synth = [](const QString& out, const QStringList& tail) {
        return QFileInfo::exists(out) ||
               Run(QStringLiteral("sox"),
                   QStringList{QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                               QStringLiteral("-c"), QStringLiteral("2"), QStringLiteral("-b"),
                               QStringLiteral("16"), out, QStringLiteral("synth"), QStringLiteral("4")} +
                       tail);
    };
    if (!synth(noise, {QStringLiteral("pinknoise")}) ||
        !synth(empties[0],
               {QStringLiteral("sine"), QStringLiteral("0"), QStringLiteral("vol"), QStringLiteral("0")}) ||
        !synth(empties[1], {QStringLiteral("whitenoise"), QStringLiteral("vol"), QStringLiteral("0.001")}) ||
        !synth(empties[2], {QStringLiteral("pinknoise"), QStringLiteral("vol"), QStringLiteral("0.05")}))
        return 1;

    std::map<std::pair<int, int>, QStringList> units;
    for (const CourseWord& w : course.words)
        units[{w.book, w.unit}] << w.english;
    const auto spokenFile = [&](std::size_t voice, std::size_t word) {
        return folder.filePath(QStringLiteral("%1-%2-w%3.wav")
                                   .arg(kVoices[voice].synth, kVoices[voice].name)
                                   .arg(word)
                                   .replace(QLatin1Char('+'), QLatin1Char('_')));
    };
    // Each voice's murmur: three words of the course said by the next voice of its synthesiser, one after
    // another, at 44.1 kHz stereo like the readings.
    std::vector<QString> murmurs;
    for (std::size_t v = 0; v < kVoices.size(); ++v) {
        std::size_t next = (v + 1) % kVoices.size();
        if (kVoices[next].synth != kVoices[v].synth)
            next = v - (v % 4);
        const QString murmur = folder.filePath(QStringLiteral("murmur-%1.wav").arg(v));
        QStringList parts;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::size_t word = (v * 11 + k * 17) % course.words.size();
            parts << spokenFile(next, word);
            if (!Speak(kVoices[next], course.words[word].english, parts.back()))
                return 1;
        }
        if (!QFileInfo::exists(murmur) &&
            !Run(QStringLiteral("sox"),
                 parts + QStringList{QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-c"),
                                     QStringLiteral("2"), murmur}))
            return 1;
        murmurs.push_back(murmur);
    }
    // A murmur alone, as far below a reading's level as when it is behind one.
    for (const QString& murmur : {murmurs.front(), murmurs.back()}) {
        empties << murmur.chopped(4) + QStringLiteral("-alone.wav");
        const double scale = std::pow(10.0, -kVariants.back().snr / 20.0);
        if (!QFileInfo::exists(empties.back()) &&
            !Run(QStringLiteral("sox"),
                 {QStringLiteral("-v"), QString::number(scale), murmur, empties.back()}))
            return 1;
    }

    std::vector<Reading> readings;
    int counter = 0;
    for (std::size_t index = 0; index < course.words.size(); ++index) {
        const CourseWord& w = course.words[index];
        const QStringList& unit = units[{w.book, w.unit}];
        if (unit.size() < 2)
            continue;
        for (std::size_t v = 0; v < kVoices.size(); ++v) {
            const Voice& voice = kVoices[v];
            for (std::size_t k = 0; k < kVariants.size(); ++k) {
                if (counter++ % sample != 0)
                    continue;
                const Variant& variant = kVariants[k];
                // Another word of the unit, a different one for each voice and variant.
                const int step = 1 + static_cast<int>((v * kVariants.size() + k) % (unit.size() - 1));
                const QString other = unit[(unit.indexOf(w.english) + step) % unit.size()];
                const QString spoken = spokenFile(v, index);
                const QString file =
                    spoken.chopped(4) + QLatin1Char('_') + variant.name + QStringLiteral(".wav");
                if (!Speak(voice, w.english, spoken) ||
                    (!QFileInfo::exists(file) &&
                     !MakeReading(spoken, variant, variant.murmur ? murmurs[v] : noise, file)))
                    return 1;
                readings.push_back({file, w.english, other, unit,
                                    static_cast<int>(kSynths.indexOf(voice.synth)), voice.name,
                                    variant.name});
            }
        }
    }

    SphinxChecker checker;
    if (!checker.prepare()) {
        std::fprintf(stderr, "bench_speech: the recogniser or its model is missing\n");
        return 1;
    }
    std::map<QString, QStringList> phones;
    const auto phonesOf = [&](const QString& text) -> const QStringList& {
        auto found = phones.find(text);
        if (found == phones.end())
            found = phones.emplace(text, checker.phones(text)).first;
        return found->second;
    };
    const auto shorter = [&](const QString& word, const ReadingResult& result) {
        return static_cast<int>(std::min(phonesOf(word).size(), phonesOf(result.hypothesis).size()));
    };
    std::fprintf(stderr, "bench_speech: judging %zu readings twice\n", readings.size());
    std::vector<Outcome> outcomes;
    std::vector<double> times;
    for (const Reading& r : readings) {
        QElapsedTimer timer;
        timer.start();
        Outcome o{&r, checker.check(r.file, r.word, r.unitWords), {}, 0, 0, 0};
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        o.theirs = checker.check(r.file, r.other, r.unitWords);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        o.pairApart = PhoneDistance(phonesOf(r.word), phonesOf(r.other));
        o.mineShorter = shorter(r.word, o.mine);
        o.theirsShorter = shorter(r.other, o.theirs);
        outcomes.push_back(o);
    }
    std::vector<ReadingResult> empty;
    for (const auto& [key, unit] : units)
        for (const QString& file : empties)
            empty.push_back(checker.check(file, unit.front(), unit));
    int emptyGood = 0;
    for (const ReadingResult& result : empty)
        emptyGood += result.verdict == ReadingVerdict::Good;

    // Where the shortfalls of near neighbours lie (words further apart are never weighed): a leniency
    // between the two rows tells the readings apart.
    std::vector<double> ownShort;
    std::vector<double> otherShort;
    for (const Outcome& o : outcomes) {
        if (o.mine.shortfall)
            ownShort.push_back(*o.mine.shortfall);
        if (o.theirs.shortfall)
            otherShort.push_back(*o.theirs.shortfall);
    }
    std::printf(
        "shortfall of the word when a near neighbour was heard (percentiles 10 / 25 / 50 / 75 / 90):\n");
    for (const auto& [name, values] : {std::pair{"own word", &ownShort}, {"other word", &otherShort}})
        std::printf("  %-10s %5zu readings %8.1f %8.1f %8.1f %8.1f %8.1f\n", name, values->size(),
                    Quantile(*values, 0.1), Quantile(*values, 0.25), Quantile(*values, 0.5),
                    Quantile(*values, 0.75), Quantile(*values, 0.9));
    std::printf("%zu readings of %zu words (one in %d), each judged as its own word and as another\n",
                readings.size(), course.words.size(), sample);
    for (int synth = 0; synth < kSynths.size(); ++synth)
        PrintTable(outcomes, synth, Tune(outcomes, 1 - synth), nearMisses);
    std::printf("\nas shipped (leniency near %g, short %g):\n", kLeniency.near, kLeniency.shortNear);
    for (int synth = 0; synth < kSynths.size(); ++synth) {
        const Rates rates = RatesOf(outcomes, synth, kLeniency);
        std::printf("  %-10s own word good %.1f%%, other again %.1f%%, 2+ phones again %.1f%%\n",
                    qUtf8Printable(kSynths[synth]), rates.own.percent(), rates.other.percent(),
                    rates.far.percent());
    }
    std::printf("silence, noise and murmur alone: %zu readings, %d judged good\n", empty.size(), emptyGood);

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
