#include "course/TextDecoding.h"

#include <QStringConverter>
#include <QStringList>
#include <array>
#include <memory>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <vector>

namespace lexora {

namespace {

const QString kSaveAsUtf8 =
    QStringLiteral("save it again from the spreadsheet as \"CSV UTF-8 (Comma delimited)\" "
                   "(\"CSV UTF-8(逗号分隔)\"), or from a text editor with the encoding UTF-8");

// What one legacy encoding makes of the bytes.
struct Reading
{
    QString encoding;
    QString text;
    bool valid = true;
    bool fourByte = false; // GB18030 sequences beyond GBK
    int odd = 0;           // characters no Chinese word list holds
    int hanzi = 0;
    int rare = 0; // hanzi outside the encoding's block of common characters
};

bool isHanzi(UChar32 c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

bool isAsciiLetter(UChar32 c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Punctuation and signs that Chinese text uses beside its characters, and the tone-marked vowels of
// pinyin. A wrong reading of the bytes brings kana, Cyrillic, box drawing or private-use characters.
bool isChineseTextSign(UChar32 c)
{
    static const QString pinyin = QStringLiteral("āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜüÜ");
    return (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF5E) || (c >= 0xFFE0 && c <= 0xFFE5) ||
           (c >= 0x2010 && c <= 0x203B) || (c >= 0x2160 && c <= 0x217F) || (c >= 0x2460 && c <= 0x249B) ||
           (c >= 0x2190 && c <= 0x2193) || (c >= 0x25A0 && c <= 0x25CF) || c == 0x2605 || c == 0x2606 ||
           c == 0xB7 || c == 0xD7 || c == 0xF7 || c == 0x2103 || c == 0x2116 ||
           (c <= 0xFFFF && pinyin.contains(QChar(static_cast<char16_t>(c))));
}

bool isAsciiText(UChar32 c)
{
    return c >= 0x20 ? c < 0x7F : (c == '\t' || c == '\n' || c == '\r' || c == '\f');
}

// Whether a double-byte hanzi lies in the encoding's block of everyday characters: GB2312's hanzi
// rows (0xB0A1-0xF7FE) in GBK, the frequent characters (0xA440-0xC67E) in Big5.
using CommonRule = bool (*)(unsigned lead, unsigned trail);

bool commonInGbk(unsigned lead, unsigned trail)
{
    return lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1 && trail <= 0xFE;
}

bool commonInBig5(unsigned lead, unsigned trail)
{
    const unsigned code = lead << 8 | trail;
    return code >= 0xA440 && code <= 0xC67E;
}

struct ConverterCloser
{
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

// Decodes strictly (a byte sequence without a character stops the reading) and judges each
// character. A hanzi between two Latin letters is what Latin-1 accents become ("Mädchen").
Reading readAs(const char* converterName, const QString& encoding, const QByteArray& bytes, CommonRule common)
{
    Reading reading{encoding, {}};
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterCloser> converter(ucnv_open(converterName, &status));
    if (U_FAILURE(status)) {
        reading.valid = false;
        return reading;
    }
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    const char* source = bytes.constData();
    const char* const end = source + bytes.size();
    std::vector<UChar32> chars;
    while (source < end && U_SUCCESS(status)) {
        const char* start = source;
        const UChar32 c = ucnv_getNextUChar(converter.get(), &source, end, &status);
        if (U_FAILURE(status))
            break;
        const auto length = source - start;
        reading.fourByte = reading.fourByte || length == 4;
        if (isHanzi(c)) {
            ++reading.hanzi;
            const bool everyday = length == 2 && common(static_cast<unsigned char>(start[0]),
                                                        static_cast<unsigned char>(start[1]));
            reading.rare += everyday ? 0 : 1;
        } else if (!isAsciiText(c) && !isChineseTextSign(c)) {
            ++reading.odd;
        }
        chars.push_back(c);
    }
    if (U_FAILURE(status)) {
        reading.valid = false;
        return reading;
    }
    for (size_t i = 1; i + 1 < chars.size(); ++i) {
        if (isHanzi(chars[i]) && isAsciiLetter(chars[i - 1]) && isAsciiLetter(chars[i + 1]))
            ++reading.odd;
    }
    reading.text = QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.data()),
                                     static_cast<qsizetype>(chars.size()));
    return reading;
}

QString normalisedLineEnds(QString text)
{
    if (text.startsWith(QChar(QChar::ByteOrderMark)))
        text.remove(0, 1);
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

// Of two plausible readings the one whose hanzi are everyday characters wins; a draw, or a winner
// with many rare characters of its own, leaves the file ambiguous.
const Reading* clearWinner(const Reading& a, const Reading& b)
{
    if (a.rare == b.rare)
        return nullptr;
    const Reading& fewer = a.rare < b.rare ? a : b;
    return fewer.rare * 10 > fewer.hanzi ? nullptr : &fewer;
}

// The line of the first byte a strict reading stopped at: the line after the text it did read.
int lineOfFailure(const char* converterName, const QByteArray& bytes)
{
    int low = 0;
    int high = static_cast<int>(bytes.size());
    // The longest prefix that reads whole, found by halving.
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (readAs(converterName, {}, bytes.left(middle), commonInGbk).valid)
            low = middle;
        else
            high = middle - 1;
    }
    return static_cast<int>(bytes.left(low).count('\n')) + 1;
}

std::variant<DecodedText, CourseError> decodeAs(const QByteArray& bytes, const QString& encoding)
{
    const QString name = encoding.toUpper();
    if (name == QLatin1String("UTF-8") || name == QLatin1String("UTF8")) {
        auto unicode = DecodeCourseText(bytes);
        if (const auto* text = std::get_if<QString>(&unicode))
            return DecodedText{*text, QStringLiteral("UTF-8")};
        return std::get<CourseError>(unicode);
    }
    const bool big5 = name == QLatin1String("BIG5");
    const char* converter = big5 ? "Big5" : "GB18030";
    const Reading reading = readAs(converter, big5 ? QStringLiteral("Big5") : encoding.toUpper(), bytes,
                                   big5 ? commonInBig5 : commonInGbk);
    if (!reading.valid)
        return CourseError{lineOfFailure(converter, bytes),
                           QStringLiteral("not %1 text: this line holds bytes %1 has no character for")
                               .arg(reading.encoding)};
    return DecodedText{normalisedLineEnds(reading.text), reading.encoding};
}

} // namespace

bool IsKnownWordListEncoding(const QString& encoding)
{
    static const QStringList known = {QStringLiteral("UTF-8"),  QStringLiteral("UTF8"),
                                      QStringLiteral("GBK"),    QStringLiteral("GB18030"),
                                      QStringLiteral("GB2312"), QStringLiteral("BIG5")};
    return known.contains(encoding.toUpper());
}

std::variant<DecodedText, CourseError> DecodeWordListText(const QByteArray& bytes, const QString& encoding)
{
    if (!encoding.isEmpty())
        return decodeAs(bytes, encoding);
    const auto marked = QStringConverter::encodingForData(bytes);
    auto unicode = DecodeCourseText(bytes);
    if (const auto* text = std::get_if<QString>(&unicode)) {
        const bool utf16 = marked == QStringConverter::Utf16LE || marked == QStringConverter::Utf16BE;
        const QString name = !marked || *marked == QStringConverter::Utf8 ? QStringLiteral("UTF-8")
                             : utf16                                      ? QStringLiteral("UTF-16")
                                                                          : QStringLiteral("UTF-32");
        return DecodedText{*text, name};
    }
    const CourseError utf8Error = std::get<CourseError>(unicode);
    if (marked)
        return utf8Error;
    Reading gb = readAs("GB18030", QStringLiteral("GBK"), bytes, commonInGbk);
    if (gb.fourByte)
        gb.encoding = QStringLiteral("GB18030");
    const Reading big5 = readAs("Big5", QStringLiteral("Big5"), bytes, commonInBig5);
    std::vector<const Reading*> plausible;
    for (const Reading* reading : std::array<const Reading*, 2>{&gb, &big5}) {
        if (reading->valid && reading->odd == 0 && reading->hanzi > 0)
            plausible.push_back(reading);
    }
    if (plausible.empty())
        return CourseError{
            utf8Error.line,
            QStringLiteral("not text in UTF-8, UTF-16, GB18030/GBK or Big5 (each was tried): %1")
                .arg(kSaveAsUtf8)};
    const Reading* chosen = plausible.size() == 1 ? plausible.front() : clearWinner(gb, big5);
    if (!chosen)
        return CourseError{utf8Error.line,
                           QStringLiteral("not UTF-8 text, and it reads as GBK and as Big5 alike, so its "
                                          "Chinese cannot be told: name its encoding with --encoding GBK or "
                                          "--encoding Big5, or %1")
                               .arg(kSaveAsUtf8)};
    return DecodedText{normalisedLineEnds(chosen->text), chosen->encoding};
}

} // namespace lexora
