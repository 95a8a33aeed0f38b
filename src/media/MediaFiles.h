#pragma once

#include "media/MediaFolders.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

namespace lexora {

// A word's picture and voice files. At rest they are encoded (".pet" pictures, ".abw" voices); the
// plain forms (".jpg", ".wav") exist only while in use or when newly copied in. When both forms of a
// picture exist the ".pet" wins; when both forms of a voice exist the ".wav" wins. A word whose text
// could name a file outside the media folders has no media.
class MediaFiles
{
public:
    explicit MediaFiles(MediaFolders folders);

    const MediaFolders& folders() const { return m_folders; }

    // Each turns word + source extension into word + the other extension, replacing an existing one;
    // nothing when the source is missing. False when a file could not be written.
    bool EncryptWordPic(const QString& word);
    bool DecryptWordPic(const QString& word);
    bool EncryptWordSound(const QString& word);
    bool DecryptWordSound(const QString& word);

    // True when the plain picture word + ".jpg" exists.
    bool WordPicExists(const QString& word) const;
    // The plain picture's path when it exists, else the fallback picture of the program folder.
    QString GetWordPicFile(const QString& word) const;

    // The picture a view shows for a word: decoded in memory and loaded, with the folder left as
    // decoding, loading and encoding again would leave it (a plain-only picture is encoded, a stray
    // plain picture beside an encoded one is removed). Nothing when the word has no readable picture.
    std::optional<QImage> TakeWordPic(const QString& word);
    // The same, scaled down (aspect kept) to fit into `fit` while it is decoded: a thumbnail costs a
    // fraction of a full decode.
    std::optional<QImage> TakeWordPic(const QString& word, const QSize& fit);

    // The WAV bytes of a word's voice (word as given; callers trim), with the folder left in its
    // at-rest form as playing the plain file and encoding it afterwards would leave it.
    std::optional<QByteArray> TakeWordSound(const QString& word);

    bool WordSoundExists(const QString& word) const;

private:
    struct Kind
    {
        QString folder;
        QString plain;
        QString encoded;
    };
    Kind pictures() const;
    Kind sounds() const;
    static bool transform(const Kind& kind, const QString& word, bool encode);
    // Reads the preferred form (encoded or plain) and settles the other.
    static std::optional<QByteArray> take(const Kind& kind, const QString& word, bool encodedWins);

    MediaFolders m_folders;
};

// A picture decoded from its bytes, scaled down (aspect kept) to fit into `fit` while it is decoded
// (an empty fit keeps its size); null when the bytes are no picture.
QImage DecodePicture(QByteArray bytes, const QSize& fit);

} // namespace lexora
