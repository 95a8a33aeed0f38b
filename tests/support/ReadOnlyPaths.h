#pragma once

#include <QString>
#include <QStringList>

namespace lexora::test {

// Makes files and folders read-only for this process while it lives, as they are for a learner
// whose program folder cannot be written. Permission bits alone do that for an ordinary user; root
// passes over them, so a test run as root also takes the identity of "nobody" meanwhile. The tree
// under root is opened to every user first so that "nobody" reaches it.
class ReadOnlyPaths
{
public:
    ReadOnlyPaths(const QString& root, const QStringList& readOnly);
    ~ReadOnlyPaths();
    ReadOnlyPaths(const ReadOnlyPaths&) = delete;
    ReadOnlyPaths& operator=(const ReadOnlyPaths&) = delete;

private:
    QStringList m_paths;
    bool m_switched = false;
};

} // namespace lexora::test
