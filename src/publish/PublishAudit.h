#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace lexora {

class Prompter;

// The tool opens only for its authors: an answer to "password:" must be the access code exactly.
bool IsAccessCode(const std::optional<QString>& answer);
bool AskAccessCode(Prompter& prompter, const QString& title);

// The five folder fields of the tool.
struct PublishFolders
{
    QString picSrc;
    QString picDest;
    QString audioSrc1; // one subfolder per initial letter: a/apple.wav
    QString audioSrc2; // flat: apple.wav
    QString audioDest;
};

// What a check or copy leaves behind: the status line, the list and the closing message.
struct PublishReport
{
    enum class ListUpdate
    {
        Replace, // the list shows only the items
        Append,  // the items are added to what the list shows
        Keep,    // the list is left alone
    };

    QString status;
    ListUpdate listUpdate = ListUpdate::Replace;
    QStringList items;
    QString message;
    bool complete = true; // nothing missing, refused or failed
};

// The word list of the tool and the checks and copies run over it. Used by the window and by the
// command line alike; shows nothing itself.
class PublishAudit
{
public:
    // Reads the word file: trimmed, non-empty, distinct lines in file order. False, leaving the
    // list as it was, when the file cannot be read.
    bool LoadAllWords(const QString& txtFile);
    bool IsWordInList(const QString& word) const;
    const QStringList& words() const { return m_words; }

    // Names of the files directly inside a folder, sorted; nothing when it cannot be listed.
    static std::optional<QStringList> ListFolderFiles(const QString& strFolder);

    // Hears how many words or files a copy has done of how many, after each one.
    using Progress = std::function<void(int done, int total)>;
    void setProgress(Progress progress) { m_progress = std::move(progress); }

    PublishReport checkAudio(const PublishFolders& folders) const;
    PublishReport copyAudio(const PublishFolders& folders) const;
    PublishReport copyAllAudio(const PublishFolders& folders) const;
    PublishReport checkPics(const PublishFolders& folders) const;
    PublishReport copyPics(const PublishFolders& folders) const;
    PublishReport copyAllPics(const PublishFolders& folders) const;

    // Where a word's voice is looked for, first source first; empty for a word that must not name
    // a file.
    static QStringList audioSources(const PublishFolders& folders, const QString& word);
    static QString pictureSource(const PublishFolders& folders, const QString& word);

private:
    void tell(int done, int total) const
    {
        if (m_progress)
            m_progress(done, total);
    }

    QStringList m_words;
    Progress m_progress;
};

} // namespace lexora
