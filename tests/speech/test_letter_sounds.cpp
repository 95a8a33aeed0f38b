#include "speech/LetterSounds.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace lexora;

namespace {

QStringList Split(const char* text)
{
    return QString(text).split(' ', Qt::SkipEmptyParts);
}

// The letters of the text at the given positions, for readable failures.
QString Letters(const QString& text, const QList<qsizetype>& at)
{
    QString out;
    for (const qsizetype i : at)
        out += text[i];
    return out;
}

TEST(LetterSounds, MapsMissedPhonesToTheirLetters)
{
    // text, its phones, the phones heard, the letters to work on
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"ruler", "R UW L ER", "UW L ER", "r"},
        {"ruler", "R UW L ER", "R UW L", "er"},
        {"hut", "HH AH T", "HH AA T", "u"},
        {"cake", "K EY K", "K AE K", "a"},
        {"knife", "N AY F", "N AY", "fe"},
        {"thanks", "TH AE NG K S", "T AE NG K S", "th"},
        {"box", "B AA K S", "B AA K", "x"},
        {"ice cream", "AY S K R IY M", "AY S K IY M", "r"},
        {"T-shirt", "T IY SH ER T", "T IY S ER T", "sh"},
        {"hi", "HH AY", "M AY", "h"},
        {"school", "S K UW L", "S K UW L", ""},
        {"school", "S K UW L", "S UW L", "ch"}};
    for (const auto& [text, phones, heard, expected] : cases)
        EXPECT_EQ(Letters(text, MissedLetters(text, Split(phones), Split(heard))), QString(expected))
            << text << " heard as " << heard;
}

TEST(LetterSounds, GivesEveryLetterToAPhone)
{
    for (const auto& [text, phones] :
         {std::pair{"knife", "N AY F"}, {"eight", "EY T"}, {"Lucy's", "L UW S IY Z"}}) {
        qsizetype letters = 0;
        for (const QList<qsizetype>& at : LettersOfPhones(text, Split(phones)))
            letters += at.size();
        EXPECT_EQ(letters, QString(text).count(QRegularExpression("[A-Za-z]"))) << text;
    }
}

} // namespace
