#include "media/MediaFolders.h"

#include "store/Schema.h"
#include "store/WordStore.h"

namespace lexora {

MediaFolders::MediaFolders(const Locations& locations)
    : m_program(locations.programFolder()), m_common(locations.commonFolder()),
      m_myVoice(locations.myVoiceFolder())
{}

MediaFolders::MediaFolders(const QString& programFolder, const QString& commonFolder)
    : MediaFolders(Locations::portable(programFolder, commonFolder))
{}

MediaFolders MediaFolders::fromStore(const WordStore& store)
{
    return MediaFolders(store.locations());
}

QString MediaFolders::appPics() const
{
    return sub(m_program, kAppPicsFolder);
}

QString MediaFolders::fallbackPicture() const
{
    return appPics() + QStringLiteral("/ffe.jpg");
}

std::optional<QString> MediaFolders::fileIn(const QString& folder, const QString& name,
                                            const QString& extension)
{
    if (!IsSafeMediaName(name))
        return std::nullopt;
    return folder + QLatin1Char('/') + name + extension;
}

bool IsSafeMediaName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    // Backslash too: courses are authored on systems where it separates folders.
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.isNull())
            return false;
    }
    return true;
}

} // namespace lexora
