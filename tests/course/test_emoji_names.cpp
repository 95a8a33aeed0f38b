#include "course/EmojiNames.h"

#include <QBuffer>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace lexora;

namespace {

// A few annotations as the CLDR files write them: keywords and spoken names, variation selectors left
// out, symbols and variants among the emoji, and the other names and codes of countries.
const char* const kAnnotations = R"(<ldml><annotations>
  <annotation cp="→">arrow | right</annotation>
  <annotation cp="→" type="tts">rightwards arrow</annotation>
  <annotation cp="🍎">apple | fruit | red</annotation>
  <annotation cp="🍎" type="tts">red apple</annotation>
  <annotation cp="🍏">apple | fruit | green</annotation>
  <annotation cp="🍏" type="tts">green apple</annotation>
  <annotation cp="🍒">berries | cherries | cherry | fruit | red</annotation>
  <annotation cp="🍒" type="tts">cherries</annotation>
  <annotation cp="🍚">cooked | rice</annotation>
  <annotation cp="🍚" type="tts">cooked rice</annotation>
  <annotation cp="🍙">ball | Japanese | rice</annotation>
  <annotation cp="🍙" type="tts">rice ball</annotation>
  <annotation cp="⚽">ball | football | soccer</annotation>
  <annotation cp="⚽" type="tts">soccer ball</annotation>
  <annotation cp="🍨">cream | dessert | ice | ice cream | sweet</annotation>
  <annotation cp="🍨" type="tts">ice cream</annotation>
  <annotation cp="📦">box | package | parcel</annotation>
  <annotation cp="📦" type="tts">package</annotation>
  <annotation cp="🏃">marathon | running</annotation>
  <annotation cp="🏃" type="tts">person running</annotation>
  <annotation cp="☀">bright | sun | sunny</annotation>
  <annotation cp="☀" type="tts">sun</annotation>
  <annotation cp="👩">adult | she | woman</annotation>
  <annotation cp="👩" type="tts">woman</annotation>
  <annotation cp="👂">body | ear</annotation>
  <annotation cp="👂" type="tts">ear</annotation>
  <annotation cp="👃">body | nose</annotation>
  <annotation cp="👃" type="tts">nose</annotation>
  <annotation cp="👅">body | tongue</annotation>
  <annotation cp="👅" type="tts">tongue</annotation>
  <annotation cp="🦰">ginger | redhead</annotation>
  <annotation cp="🦰" type="tts">red hair</annotation>
  <annotation cp="🏽" type="tts">medium skin tone</annotation>
  <annotation cp="👋🏽" type="tts">waving hand: medium skin tone</annotation>
  <annotation cp="👋" type="tts">waving hand</annotation>
  <annotation cp="🇨🇦" type="tts">flag: Canada</annotation>
  <annotation cp="🇬🇧" type="tts">flag: United Kingdom</annotation>
  <annotation cp="🇺🇸" type="tts">flag: United States</annotation>
  <annotation cp="🇻🇮" type="tts">flag: U.S. Virgin Islands</annotation>
</annotations>
<territories><territory type="GB" alt="short">UK</territory></territories>
<codeMappings><territoryCodes type="US" numeric="840" alpha3="USA"/></codeMappings></ldml>)";

struct Case
{
    const char* word;
    const char* emoji; // empty: none
    const char* why;
};

std::string found(const EmojiNames& names, const char* word)
{
    const auto match = names.find(QString::fromUtf8(word));
    return match ? match->emoji.toStdString() : std::string();
}

TEST(EmojiNames, FindsTheEmojiAWordNames)
{
    QBuffer xml;
    xml.setData(kAnnotations);
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    EmojiNames names;
    QString error;
    ASSERT_TRUE(names.addAnnotations(xml, &error)) << error.toStdString();
    const Case cases[] = {
        {"ear", "👂", "the name is the word"},
        {"Apple", "🍎", "the name ends with it; the shorter of two names"},
        {"apples", "🍎", "a plural"},
        {"cherry", "🍒", "a plural on the name's side"},
        {"boxes", "📦", "a plural of -es, found by a keyword"},
        {"running", "🏃", "-ing with a doubled consonant"},
        {"ball", "⚽", "rice ends another name, so a rice ball is the looser kind"},
        {"ice cream", "🍨", "a phrase as a whole"},
        {"ice lolly", "", "never a match on a fragment of a phrase"},
        {"green", "🍏", "a describing word the keywords list"},
        {"sun", "☀️", "drawn in its fully qualified form"},
        {"waving hand", "👋", "the base emoji"},
        {"medium skin tone", "", "no skin-tone variant, nor the bare modifier"},
        {"hair", "", "no bare component"},
        {"right", "", "an arrow symbol is no emoji"},
        {"she", "", "a function word, though a keyword lists it"},
        {"body", "", "a category many emoji list"},
        {"Canada", "🇨🇦", "a country to its flag"},
        {"UK", "🇬🇧", "a country's short name"},
        {"USA", "🇺🇸", "a country's three-letter code"},
        {"islands", "", "no flag by a part of a country's name"},
        {"piano", "", "nothing matches"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(found(names, c.word), c.emoji) << c.word << ": " << c.why;
}

TEST(EmojiNames, FindsInTheInstalledFiles)
{
    const QStringList files = EmojiNames::InstalledFiles();
    if (!QFileInfo::exists(files.front()))
        GTEST_SKIP() << "unicode-cldr-core is not installed";
    EmojiNames names;
    QString error;
    ASSERT_TRUE(names.loadFiles(files, &error)) << error.toStdString();
    for (const Case& c : {Case{"apple", "🍎", ""}, Case{"grapes", "🍇", ""}, Case{"China", "🇨🇳", ""},
                          Case{"pencil", "✏️", ""}, Case{"he", "", ""}})
        EXPECT_EQ(found(names, c.word), c.emoji) << c.word;
    EXPECT_FALSE(names.loadFiles({QStringLiteral("/nonexistent/en.xml")}, &error));
}

} // namespace
