#include "publish/PublishExport.h"

#include <QUrlQuery>

namespace lexora {

namespace {

// One public image search, free to use without an account.
constexpr auto kImageSearchAddress = "https://duckduckgo.com/?ia=images&iax=images";

} // namespace

QString ClipboardText(const QStringList& items)
{
    QString text;
    for (const QString& item : items)
        text += QStringLiteral("\r\n") + item;
    return text;
}

QUrl ImageSearchUrl(const QString& word)
{
    QUrl url(QString::fromLatin1(kImageSearchAddress));
    QUrlQuery query(url);
    // Encoded up front: QUrlQuery on its own leaves "+" bare, which a server reads as a blank.
    query.addQueryItem(QStringLiteral("q"), QString::fromLatin1(QUrl::toPercentEncoding(word)));
    url.setQuery(query);
    return url;
}

} // namespace lexora
