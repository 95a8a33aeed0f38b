#pragma once

#include "ui/ReadingChecker.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace lexora {

// A dictionary entry the recogniser lacks: a token and its phones ("T IY SH ER T").
struct Pronunciation
{
    QString token;
    QString phones;
    bool operator==(const Pronunciation&) const = default;
};

// The recogniser's view of a word list: each word as its sequence of dictionary tokens, the grammar
// (a finite-state network in the recogniser's text form) that lets it hear one of them or something
// else, and the entries its dictionary must gain first.
struct ReadingGrammar
{
    std::vector<QStringList> phrases;
    QString network;
    std::vector<Pronunciation> additions;
};

// What the grammar needs of a dictionary.
struct Lexicon
{
    std::function<bool(const QString& token)> known;
    // Phones for a token the dictionary lacks; empty when none can be made.
    std::function<QString(const QString& token)> guess;
};

// Lower-case tokens of a word's text: blanks and punctuation split, apostrophes and hyphens inside a
// token kept ("I'm" → i'm, "T-shirt" → t-shirt, "ice cream!" → ice cream).
QStringList SpokenTokens(const QString& text);

// The tokens the recogniser will use: a hyphenated token the dictionary lacks is spoken as its parts.
QStringList PhraseTokens(const QString& text, const Lexicon& lexicon);

// Letter-to-sound phones (lower case, stress digits, schwa "ax") in the recogniser's phone set.
QString RecognizerPhones(const QStringList& lettersToSound);

// The grammar of the texts (duplicates and texts without a token dropped), each equally likely, plus a
// loop of free phones that absorbs other speech, entered with probability garbageWeight (none at 0).
// With an edgeWeight, free phones may also come before and after the text (each with that probability):
// the word can be heard through noise or another voice around it.
ReadingGrammar BuildReadingGrammar(const QStringList& texts, const Lexicon& lexicon, double garbageWeight,
                                   double edgeWeight = 0);

// A token heard, with the mean level of its frames (the recogniser's first cepstral value).
struct HeardToken
{
    QString token;
    double level = 0;
    int frames = 0;
};

// The words heard between free phones at the start or end of a reading, when they stand at least
// `margin` (in level units) above those free phones on average: the word read, with noise or another
// voice around it. None when no free phones stand at the edges, when free phones are heard among the
// words, or when nothing but free phones is heard.
std::optional<QStringList> WordsAboveEdges(const std::vector<HeardToken>& heard, double margin);

// The hypothesis as shown: words as heard, each run of free phones as its phones in brackets.
QString ShowHypothesis(const QStringList& heard);

// How many phones must be inserted, deleted or replaced to turn one phone sequence into the other.
int PhoneDistance(const QStringList& a, const QStringList& b);

// How much worse the word itself may fit a reading than another word the recogniser heard and still count
// as said: only a near neighbour gets this benefit of the doubt.
struct Leniency
{
    // One phone apart, both words of three phones or more ("hot" heard for "hut").
    double near = 0;
    // One phone apart where a word has only one or two phones: that phone is half the word.
    double shortNear = 0;
};

// The shortfall allowed when the word heard is `apart` phones from the word of `phones` phones (the
// shorter of the two); none at all (minus infinity) for words two or more phones apart: they share too
// little, and only a word heard outright counts.
double AllowedShortfall(int apart, int phones, const Leniency& leniency);

// Good when the words heard are exactly the target's tokens, or when the target, forced on the reading,
// fits it at most the allowed shortfall worse than what was heard (see ReadingResult); anything else is
// again. Too little voice is silent, whatever was heard.
ReadingVerdict JudgeReading(int voicedMs, const QStringList& heard, const QStringList& target,
                            std::optional<double> shortfall = std::nullopt, double allowed = 0);

// The recogniser's word for a free phone, and back.
QString GarbageToken(const QString& phone);
bool IsGarbageToken(const QString& token);

} // namespace lexora
