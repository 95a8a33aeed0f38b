#pragma once

#include "store/Locations.h"
#include "store/Schema.h"

#include <QString>
#include <optional>

namespace lexora {

class WordStore;

// Where the media live: the program folder's "AppPics", the common data folder's "voice", "pics" and
// "appvoice", and the learner's "myvoice". The roots come from the locations so tests can point them at
// a temporary tree.
class MediaFolders
{
public:
    explicit MediaFolders(const Locations& locations);
    // A portable tree with its common data folder given.
    MediaFolders(const QString& programFolder, const QString& commonFolder);
    static MediaFolders fromStore(const WordStore& store);

    QString voice() const { return sub(m_common, kVoiceFolder); }
    QString pics() const { return sub(m_common, kPicsFolder); }
    QString appVoice() const { return sub(m_common, kAppVoiceFolder); }
    QString myVoice() const { return m_myVoice; }
    QString appPics() const;
    // The picture shown in place of a word that has none.
    QString fallbackPicture() const;

    // folder + "/" + name + extension, or nothing when name could leave the folder.
    static std::optional<QString> fileIn(const QString& folder, const QString& name,
                                         const QString& extension);

private:
    static QString sub(const QString& root, const char* name)
    {
        return root + QLatin1Char('/') + QLatin1String(name);
    }

    QString m_program;
    QString m_common;
    QString m_myVoice;
};

// A word's text names media files; course data must not reach outside the media folders through it.
// Empty names, "." and "..", and names holding a path separator or NUL are refused.
bool IsSafeMediaName(const QString& name);

} // namespace lexora
