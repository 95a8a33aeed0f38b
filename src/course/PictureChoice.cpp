#include "course/PictureChoice.h"

#include "course/EmojiNames.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cstring>
#include <numeric>

namespace lexora {

namespace {

struct Colour
{
    const char* english;
    QRgb rgb;
    const char* chinese; // the colour's own characters, any of which names it alone
};

// Basic colour names as a child learns them, drawn in clear, saturated shades.
const Colour kColours[] = {
    {"red", 0xE53935, "红"},   {"orange", 0xFB8C00, "橙橘"},  {"yellow", 0xFDD835, "黄"},
    {"green", 0x43A047, "绿"}, {"blue", 0x1E88E5, "蓝"},      {"purple", 0x8E24AA, "紫"},
    {"pink", 0xF48FB1, "粉"},  {"brown", 0x795548, "棕褐咖"}, {"black", 0x212121, "黑"},
    {"white", 0xFFFFFF, "白"}, {"grey", 0x9E9E9E, "灰"},      {"gray", 0x9E9E9E, "灰"},
    {"gold", 0xD4AF37, "金"},  {"silver", 0xC0C0C0, "银"},
};

// Named as the word, the word after a describing word, or by its Chinese name as the meaning.
bool isSure(const EmojiMatch& match)
{
    return match.rule <= 1 || match.meaning == 2;
}

QString describeRule(int rule)
{
    switch (rule) {
    case 2:
        return QStringLiteral("its name makes it a looser kind of the word");
    case 3:
        return QStringLiteral("its keywords name the word, its name is another word for it");
    case 4:
        return QStringLiteral("only its keywords name the word");
    case kByMeaningOnly:
        return QStringLiteral("only its Chinese keywords name the meaning");
    default:
        return QStringLiteral("its name holds the word among others");
    }
}

} // namespace

QString EmojiKey(const QString& emoji)
{
    QString key = emoji.trimmed();
    key.remove(QChar(0xFE0F));
    key.remove(QChar(0xFE0E));
    return key;
}

std::optional<QColor> ColourOfWord(const QString& english, const QString& chinese)
{
    QString word = english.trimmed().toLower();
    int shade = 0;
    for (const auto& [prefix, change] : {std::pair{"dark ", -1}, std::pair{"light ", 1}}) {
        if (word.startsWith(QLatin1String(prefix))) {
            word = word.mid(static_cast<qsizetype>(std::strlen(prefix)));
            shade = change;
        }
    }
    const auto colour = std::find_if(std::begin(kColours), std::end(kColours),
                                     [&word](const Colour& c) { return word == QLatin1String(c.english); });
    if (colour == std::end(kColours))
        return std::nullopt;
    // A meaning with 色, or one of the colour's characters alone (红, 红的), names the colour.
    QString meaning = chinese.trimmed();
    meaning.remove(QStringLiteral("的"));
    meaning.remove(QRegularExpression(QStringLiteral("^[深浅淡]")));
    const bool colourMeaning = meaning.isEmpty() || meaning.contains(QStringLiteral("色")) ||
                               (meaning.size() == 1 && QString::fromUtf8(colour->chinese).contains(meaning));
    if (!colourMeaning)
        return std::nullopt;
    const QColor base = QColor::fromRgb(colour->rgb);
    return shade < 0 ? base.darker(150) : shade > 0 ? base.lighter(140) : base;
}

std::vector<FoundPicture> FindPictures(const std::vector<const CourseWord*>& words, const EmojiNames* names,
                                       const QSet<QString>& given)
{
    std::vector<FoundPicture> found(words.size());
    std::vector<std::vector<EmojiMatch>> candidates(words.size());
    QHash<QString, QString> ownerOf; // picture key -> the word that has it
    for (const QString& emoji : given)
        ownerOf.insert(EmojiKey(emoji), QString());
    for (size_t i = 0; i < words.size(); ++i) {
        if (const auto colour = ColourOfWord(words[i]->english, words[i]->chinese)) {
            const QString key = colour->name();
            if (ownerOf.contains(key)) {
                found[i].remark =
                    QStringLiteral("its colour is already the picture of \"%1\"").arg(ownerOf[key]);
                continue;
            }
            ownerOf.insert(key, words[i]->english);
            found[i] = {FoundPicture::Kind::Colour,
                        key,
                        QStringLiteral("colour ") + words[i]->english.trimmed().toLower(),
                        true,
                        {}};
        } else if (!names) {
            found[i].remark = QStringLiteral("no emoji names");
        } else {
            candidates[i] = names->candidates(words[i]->english, words[i]->chinese);
        }
    }
    // Words whose best candidate is surest choose first; otherwise the course's order.
    std::vector<size_t> order(words.size());
    std::iota(order.begin(), order.end(), 0);
    const auto surety = [&candidates](size_t i) {
        if (candidates[i].empty())
            return std::pair{2, 0};
        const EmojiMatch& best = candidates[i].front();
        return std::pair{isSure(best) ? 0 : 1, best.rule};
    };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return surety(a) < surety(b); });
    for (const size_t i : order) {
        if (found[i].kind != FoundPicture::Kind::None || !found[i].remark.isEmpty())
            continue;
        if (candidates[i].empty()) {
            found[i].remark = QStringLiteral("no emoji name fits");
            continue;
        }
        const auto free =
            std::find_if(candidates[i].begin(), candidates[i].end(),
                         [&ownerOf](const EmojiMatch& m) { return !ownerOf.contains(EmojiKey(m.emoji)); });
        const EmojiMatch& first = candidates[i].front();
        const QString firstOwner = ownerOf.value(EmojiKey(first.emoji));
        const QString taken =
            QStringLiteral("%1 (%2) is already the picture of %3")
                .arg(first.emoji, first.name,
                     firstOwner.isEmpty() ? QStringLiteral("a word the course gives it")
                                          : QLatin1Char('"') + firstOwner + QLatin1Char('"'));
        if (free == candidates[i].end()) {
            found[i].remark = taken;
            continue;
        }
        ownerOf.insert(EmojiKey(free->emoji), words[i]->english);
        found[i] = {FoundPicture::Kind::Emoji, free->emoji, free->name, false, {}};
        if (free != candidates[i].begin())
            found[i].remark = taken;
        else if (isSure(*free))
            found[i].sure = true;
        else
            found[i].remark = describeRule(free->rule);
    }
    return found;
}

std::vector<std::pair<const CourseWord*, FoundPicture>>
FindCoursePictures(const std::vector<const CourseWord*>& words, const EmojiNames* names)
{
    std::vector<const CourseWord*> without;
    QSet<QString> given;
    for (const CourseWord* word : words) {
        if (word->picture.kind == CoursePicture::Kind::None)
            without.push_back(word);
        else if (word->picture.kind == CoursePicture::Kind::Emoji)
            given.insert(word->picture.value);
    }
    std::vector<FoundPicture> found = FindPictures(without, names, given);
    std::vector<std::pair<const CourseWord*, FoundPicture>> result;
    for (size_t i = 0; i < without.size(); ++i)
        result.emplace_back(without[i], std::move(found[i]));
    return result;
}

} // namespace lexora
