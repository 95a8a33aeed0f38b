#include "speech/SphinxChecker.h"

#include "speech/ReadingGrammar.h"
#include "speech/SpeechAudio.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <flite/flite.h>
#include <map>
#include <pocketsphinx.h>
#include <string>

extern "C" cst_lexicon* cmu_lex_init(void);

namespace lexora {

namespace {

const char* const kListSearch = "list";
const char* const kWordSearch = "word";

struct Heard
{
    QStringList tokens;
    // The acoustic score of the path heard.
    std::int64_t score = 0;
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

    ~Engine()
    {
        if (decoder)
            ps_free(decoder);
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

    Heard decode(const std::vector<std::int16_t>& samples)
    {
        if (ps_start_utt(decoder) != 0)
            return {};
        ps_process_raw(decoder, samples.data(), samples.size(), FALSE, TRUE);
        ps_end_utt(decoder);
        Heard heard;
        const char* hypothesis = ps_get_hyp(decoder, nullptr);
        if (hypothesis)
            heard.tokens = QString::fromUtf8(hypothesis).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        // Only the sound's fit counts: the grammar's own weights differ between the two searches.
        for (ps_seg_t* seg = ps_seg_iter(decoder); seg; seg = ps_seg_next(seg)) {
            int32 acoustic = 0, language = 0, back = 0;
            ps_seg_prob(seg, &acoustic, &language, &back);
            heard.score += acoustic;
        }
        return heard;
    }
};

SphinxChecker::SphinxChecker(QString modelFolder, double leniency)
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

ReadingResult SphinxChecker::check(const QString& wavFile, const QString& word, const QStringList& words)
{
    const auto audio = ReadWavFile(wavFile);
    const std::vector<std::int16_t> samples = audio ? RecognizerSamples(*audio) : std::vector<std::int16_t>();
    const int voiced = VoicedMilliseconds(samples);
    std::lock_guard lock(m_mutex);
    if (!loadLocked())
        return {ReadingVerdict::Unavailable, {}, std::nullopt};
    Engine& engine = *m_engine;
    const Lexicon lexicon{[&](const QString& token) { return engine.known(token); },
                          [&](const QString& token) { return Guess(engine.lexicon, token); }};
    const QStringList target = PhraseTokens(word, lexicon);
    if (JudgeReading(voiced, {}, target) == ReadingVerdict::Silent)
        return {ReadingVerdict::Silent, {}, std::nullopt};
    if (!engine.use(kListSearch, BuildReadingGrammar(QStringList(words) << word, lexicon, kGarbageWeight)))
        return {ReadingVerdict::Unavailable, {}, std::nullopt};
    const Heard heard = engine.decode(samples);
    ReadingResult result{JudgeReading(voiced, heard.tokens, target), ShowHypothesis(heard.tokens),
                         std::nullopt};
    if (result.verdict != ReadingVerdict::Again || target.isEmpty())
        return result;
    // Something else won: how close did the word itself come? A child's voice is far from the
    // model's, so a near miss counts as said.
    if (!engine.use(kWordSearch, BuildReadingGrammar({word}, lexicon, 0)))
        return result;
    const Heard forced = engine.decode(samples);
    if (forced.tokens == target) {
        result.shortfall = static_cast<double>(heard.score - forced.score) * 1000.0 / voiced;
        result.verdict = JudgeReading(voiced, heard.tokens, target, result.shortfall, m_leniency);
    }
    return result;
}

} // namespace lexora
