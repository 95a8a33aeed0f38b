#include "speech/SphinxChecker.h"

#include "speech/LetterSounds.h"
#include "speech/ReadingGrammar.h"
#include "speech/SpeechAudio.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <flite/flite.h>
#include <limits>
#include <map>
#include <optional>
#include <pocketsphinx.h>
#include <sphinxbase/fe.h>
#include <string>

extern "C" cst_lexicon* cmu_lex_init(void);

namespace lexora {

namespace {

const char* const kListSearch = "list";
// The list again, with free phones allowed before and after the word.
const char* const kEdgeSearch = "list-edges";
// Forced searches are named by their phrase after this.
const char* const kWordSearch = "word:";

// How much higher a reading's resonances may lie than those of the model's adult voices: as they are, a
// little higher, and half as high again, a small child's. Each is tried and the one under which the
// reading fits the model best is believed: a high voice is not always a short vocal tract.
constexpr std::array<const char*, 4> kWarps = {"1.0", "1.25", "1.5", "1.75"};
// How much worse a warp may fit the reading (per frame, in the recogniser's log units) than the best one
// and still be believed.
constexpr double kWarpMargin = 1.5;
// How likely free phones are heard before, and after, a word of the list in the second look.
constexpr double kEdgeWeight = 0.05;
// How much louder a word must be than the sounds heard around it to count as read over them.
constexpr double kEdgeMarginDb = 6;

// A reading as the model's front end sees it: cepstral frames of one width, silence left out.
struct Cepstra
{
    std::vector<mfcc_t> values;
    int frames = 0;
    int width = 0;
};

struct Heard
{
    QStringList tokens;
    // The acoustic score of the path heard.
    std::int64_t score = 0;
    // How well the path heard fits the reading, grammar and all, per frame.
    double fit = 0;
    // The tokens heard with the level of their frames.
    std::vector<HeardToken> levels;
};

QString Guess(cst_lexicon* lexicon, const QString& token)
{
    const QByteArray letters = token.toLatin1();
    cst_val* phones = lex_lookup(lexicon, letters.constData(), nullptr, nullptr);
    QStringList list;
    for (const cst_val* at = phones; at; at = val_cdr(at))
        list << QString::fromLatin1(val_string(val_car(at)));
    delete_val(phones);
    return RecognizerPhones(list);
}

} // namespace

struct SphinxChecker::Engine
{
    ps_decoder_t* decoder = nullptr;
    cst_lexicon* lexicon = nullptr;
    std::map<std::string, QString> networks;

    // How far the first cepstral value moves for one decibel of level: it sums the natural log of each
    // mel band's energy, scaled by one over the square root of their number.
    double levelPerDb() const
    {
        const int bands = cmd_ln_int32_r(ps_get_config(decoder), "-nfilt");
        return std::sqrt(static_cast<double>(bands)) * std::log(10.0) / 10.0;
    }

    ~Engine()
    {
        if (decoder)
            ps_free(decoder);
    }

    QStringList phones(const QStringList& tokens) const
    {
        QStringList out;
        for (const QString& token : tokens) {
            char* found = ps_lookup_word(decoder, token.toUtf8().constData());
            const QString text = found ? QString::fromUtf8(found) : Guess(lexicon, token);
            ckd_free(found);
            out << text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        }
        return out;
    }

    bool known(const QString& token) const
    {
        char* phones = ps_lookup_word(decoder, token.toUtf8().constData());
        ckd_free(phones);
        return phones != nullptr;
    }

    // Switches to a grammar, teaching the dictionary its new words first; an unchanged grammar is
    // kept as it is.
    bool use(const char* search, const ReadingGrammar& reading)
    {
        QString& current = networks[search];
        if (reading.network == current)
            return ps_set_search(decoder, search) == 0;
        for (const Pronunciation& entry : reading.additions)
            ps_add_word(decoder, entry.token.toUtf8().constData(), entry.phones.toUtf8().constData(), 0);
        QByteArray text = reading.network.toUtf8();
        FILE* stream = fmemopen(text.data(), static_cast<std::size_t>(text.size()), "r");
        if (!stream)
            return false;
        fsg_model_t* network =
            fsg_model_read(stream, ps_get_logmath(decoder), cmd_ln_float32_r(ps_get_config(decoder), "-lw"));
        std::fclose(stream);
        const bool ok =
            network && ps_set_fsg(decoder, search, network) == 0 && ps_set_search(decoder, search) == 0;
        if (network)
            fsg_model_free(network);
        current = ok ? reading.network : QString();
        return ok;
    }

    // A fresh front end per reading: its noise and silence tracking must not carry over from the last.
    // (The decoder's own front end, built without a warp, is never used.)
    Cepstra cepstra(const std::vector<std::int16_t>& samples, const char* warp)
    {
        cmd_ln_t* config = ps_get_config(decoder);
        cmd_ln_set_str_r(config, "-warp_params", warp);
        // The reading is already cut to its speech: cutting again would clip the word's quiet edges.
        cmd_ln_set_boolean_r(config, "-remove_silence", FALSE);
        fe_t* frontEnd = fe_init_auto_r(config);
        if (!frontEnd)
            return {};
        Cepstra out;
        out.width = fe_get_output_size(frontEnd);
        // One frame per 10 ms, and room for the few the front end holds back until the end.
        const int capacity = static_cast<int>(samples.size()) / (kRecognizerRate / 100) + 8;
        out.values.resize(static_cast<std::size_t>(capacity) * out.width);
        std::vector<mfcc_t*> rows(capacity);
        for (int i = 0; i < capacity; ++i)
            rows[i] = out.values.data() + static_cast<std::ptrdiff_t>(i) * out.width;
        const std::int16_t* at = samples.data();
        std::size_t left = samples.size();
        int frames = capacity - 1;
        int last = 0;
        if (fe_start_utt(frontEnd) == 0 &&
            fe_process_frames(frontEnd, &at, &left, rows.data(), &frames, nullptr) >= 0 &&
            fe_end_utt(frontEnd, rows[frames], &last) >= 0)
            out.frames = frames + last;
        fe_free(frontEnd);
        out.values.resize(static_cast<std::size_t>(out.frames) * out.width);
        return out;
    }

    Heard decode(const Cepstra& reading)
    {
        // The decoder normalises the frames it is given in place: give it a copy.
        std::vector<mfcc_t> values = reading.values;
        std::vector<mfcc_t*> rows(reading.frames);
        for (int i = 0; i < reading.frames; ++i)
            rows[i] = values.data() + static_cast<std::ptrdiff_t>(i) * reading.width;
        if (reading.frames == 0 || ps_start_utt(decoder) != 0)
            return {};
        ps_process_cep(decoder, rows.data(), reading.frames, FALSE, TRUE);
        ps_end_utt(decoder);
        Heard heard;
        int32 best = 0;
        const char* hypothesis = ps_get_hyp(decoder, &best);
        if (hypothesis)
            heard.tokens = QString::fromUtf8(hypothesis).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        // No path through the grammar: the worst fit there is, whatever the decoder's score says.
        heard.fit = heard.tokens.isEmpty() ? -std::numeric_limits<double>::infinity()
                                           : static_cast<double>(best) / reading.frames;
        // Only the sound's fit counts: the grammar's own weights differ between the searches.
        for (ps_seg_t* seg = ps_seg_iter(decoder); seg; seg = ps_seg_next(seg)) {
            int32 acoustic = 0, language = 0, back = 0;
            ps_seg_prob(seg, &acoustic, &language, &back);
            heard.score += acoustic;
            // Silence, fillers and the grammar's empty steps are not part of what was heard.
            const QString token = QString::fromUtf8(ps_seg_word(seg));
            if (!IsGarbageToken(token) && !heard.tokens.contains(token))
                continue;
            int first = 0, last = 0;
            ps_seg_frames(seg, &first, &last);
            HeardToken level{token, 0, 0};
            // The first cepstral value is the frame's log energy, before the decoder's normalising.
            for (int frame = std::max(first, 0); frame <= last && frame < reading.frames;
                 ++frame, ++level.frames)
                level.level += reading.values[static_cast<std::size_t>(frame) * reading.width];
            if (level.frames > 0)
                level.level /= level.frames;
            heard.levels.push_back(level);
        }
        return heard;
    }

    // The acoustic score of a phrase forced on the reading; none when it cannot be fitted at all. Each
    // phrase keeps its own search, so that a course's words are built once.
    std::optional<std::int64_t> forced(const Cepstra& reading, const QStringList& tokens,
                                       const Lexicon& lexicon)
    {
        const QString text = tokens.join(QLatin1Char(' '));
        const std::string search = kWordSearch + text.toStdString();
        if (!use(search.c_str(), BuildReadingGrammar({text}, lexicon, 0)))
            return std::nullopt;
        const Heard heard = decode(reading);
        return heard.tokens == tokens ? std::optional(heard.score) : std::nullopt;
    }
};

SphinxChecker::SphinxChecker(QString modelFolder, Leniency leniency)
    : m_modelFolder(std::move(modelFolder)), m_leniency(leniency)
{}

SphinxChecker::~SphinxChecker() = default;

QString SphinxChecker::DefaultModelFolder()
{
    return QStringLiteral(LEXORA_SPEECH_MODEL_DIR "/en-us");
}

bool SphinxChecker::prepare()
{
    std::lock_guard lock(m_mutex);
    return loadLocked();
}

bool SphinxChecker::loadLocked()
{
    if (m_tried)
        return m_engine != nullptr;
    m_tried = true;
    const QDir folder(m_modelFolder);
    const QString acoustic = folder.filePath(QStringLiteral("en-us"));
    const QString dictionary = folder.filePath(QStringLiteral("cmudict-en-us.dict"));
    if (!QFileInfo(acoustic).isDir() || !QFileInfo::exists(dictionary))
        return false;
    const QByteArray hmm = acoustic.toUtf8(), dict = dictionary.toUtf8();
    // The recogniser's log goes nowhere: a learner's terminal is no place for it.
    cmd_ln_t* config = cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", hmm.constData(), "-dict",
                                   dict.constData(), "-samprate", "16000", "-logfn", "/dev/null", nullptr);
    if (!config)
        return false;
    auto engine = std::make_unique<Engine>();
    engine->decoder = ps_init(config);
    cmd_ln_free_r(config);
    if (!engine->decoder)
        return false;
    engine->lexicon = cmu_lex_init();
    m_engine = std::move(engine);
    return true;
}

QStringList SphinxChecker::phones(const QString& text)
{
    std::lock_guard lock(m_mutex);
    if (!loadLocked())
        return {};
    Engine& engine = *m_engine;
    const Lexicon lexicon{[&](const QString& token) { return engine.known(token); },
                          [&](const QString& token) { return Guess(engine.lexicon, token); }};
    return engine.phones(PhraseTokens(text, lexicon));
}

ReadingResult SphinxChecker::check(const QString& wavFile, const QString& word, const QStringList& words)
{
    const auto audio = ReadWavFile(wavFile);
    const std::vector<std::int16_t> samples = audio ? RecognizerSamples(*audio) : std::vector<std::int16_t>();
    const int voiced = VoicedMilliseconds(samples);
    std::lock_guard lock(m_mutex);
    if (!loadLocked())
        return {ReadingVerdict::Unavailable, {}, std::nullopt, std::nullopt, {}};
    Engine& engine = *m_engine;
    const Lexicon lexicon{[&](const QString& token) { return engine.known(token); },
                          [&](const QString& token) { return Guess(engine.lexicon, token); }};
    const QStringList target = PhraseTokens(word, lexicon);
    if (JudgeReading(voiced, {}, target) == ReadingVerdict::Silent)
        return {ReadingVerdict::Silent, {}, std::nullopt, std::nullopt, {}};
    const QStringList list = QStringList(words) << word;
    const ReadingGrammar grammar = BuildReadingGrammar(list, lexicon, kGarbageWeight);
    if (!engine.use(kListSearch, grammar))
        return {ReadingVerdict::Unavailable, {}, std::nullopt, std::nullopt, {}};
    // The reading through each warp. The one under which it fits the model best is believed, and so is
    // any other that fits nearly as well; one that fits clearly worse may hear anything.
    const std::vector<std::int16_t> stretch = SpeechStretch(samples);
    std::vector<std::pair<Cepstra, Heard>> warped;
    for (const char* warp : kWarps) {
        Cepstra reading = engine.cepstra(stretch, warp);
        Heard heard = engine.decode(reading);
        warped.emplace_back(std::move(reading), std::move(heard));
    }
    const auto closest = std::max_element(warped.begin(), warped.end(), [](const auto& a, const auto& b) {
        return a.second.fit < b.second.fit;
    });
    for (const auto& [reading, heard] : warped) {
        if (heard.fit >= closest->second.fit - kWarpMargin &&
            JudgeReading(voiced, heard.tokens, target) == ReadingVerdict::Good)
            return {ReadingVerdict::Good, ShowHypothesis(heard.tokens), std::nullopt, std::nullopt, {}};
    }
    // Noise or another voice around the word can turn the whole reading into free phones. Looked at
    // again with free phones allowed around the words, a word that stands well above them was read.
    if (engine.use(kEdgeSearch, BuildReadingGrammar(list, lexicon, kGarbageWeight, kEdgeWeight))) {
        const double margin = kEdgeMarginDb * engine.levelPerDb();
        for (const auto& [reading, plain] : warped) {
            if (plain.fit < closest->second.fit - kWarpMargin)
                continue;
            if (WordsAboveEdges(engine.decode(reading).levels, margin) == target)
                return {ReadingVerdict::Good, ShowHypothesis(target), std::nullopt, std::nullopt, {}};
        }
    }
    const auto& [reading, heard] = *closest;
    ReadingResult result{JudgeReading(voiced, heard.tokens, target),
                         ShowHypothesis(heard.tokens),
                         std::nullopt,
                         std::nullopt,
                         {}};
    // Another word of the list won: how much worse does the word itself fit the reading than that one,
    // and how far apart are the two in sound? Free phones get no such chance: they are mumbling or noise.
    const bool wordHeard =
        std::find(grammar.phrases.begin(), grammar.phrases.end(), heard.tokens) != grammar.phrases.end();
    if (result.verdict != ReadingVerdict::Again || heard.tokens.isEmpty())
        return result;
    // Free phones are in the dictionary too, each as its phone.
    const QStringList mine = engine.phones(target);
    const QStringList theirs = engine.phones(heard.tokens);
    result.weakLetters = MissedLetters(word, mine, theirs);
    if (!wordHeard)
        return result;
    result.apart = PhoneDistance(mine, theirs);
    const double allowed =
        AllowedShortfall(*result.apart, static_cast<int>(std::min(mine.size(), theirs.size())), m_leniency);
    // A word that shares too little is never given the benefit of the doubt: no need to weigh it.
    if (allowed == -std::numeric_limits<double>::infinity())
        return result;
    const auto mineScore = engine.forced(reading, target, lexicon);
    const auto theirScore = engine.forced(reading, heard.tokens, lexicon);
    if (mineScore && theirScore) {
        result.shortfall = static_cast<double>(*theirScore - *mineScore) / reading.frames;
        result.verdict = JudgeReading(voiced, heard.tokens, target, result.shortfall, allowed);
        if (result.verdict == ReadingVerdict::Good)
            result.weakLetters.clear();
    }
    return result;
}

} // namespace lexora
