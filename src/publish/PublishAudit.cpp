#include "publish/PublishAudit.h"

#include "media/MediaFolders.h"
#include "publish/PublishEncode.h"
#include "store/Prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>

namespace lexora {

namespace {

const QString kAudioStatus = QStringLiteral("缺乏音频文件的单词");
const QString kPicStatus = QStringLiteral("缺乏图片文件的单词");
const QString kAudioDone = QStringLiteral("check audio finished！");
const QString kAudioMissing = QStringLiteral("还有单词没有音频文件");
const QString kPicMissing = QStringLiteral("还有单词没有图片文件");

bool isFile(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool hasExtension(const QString& name, MediaKind kind)
{
    return name.endsWith(PlainExtension(kind), Qt::CaseInsensitive);
}

PublishReport refusal(const QString& status, const QString& message)
{
    PublishReport report;
    report.status = status;
    report.listUpdate = PublishReport::ListUpdate::Keep;
    report.message = message;
    report.complete = false;
    return report;
}

// Copies reach nothing but an existing destination folder.
std::optional<PublishReport> refuseDestination(const QString& folder, const QString& status)
{
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return std::nullopt;
    return refusal(status, QStringLiteral("目标文件夹不存在：") + folder);
}

// Copies and encodes every file of one kind from a folder, whether listed or not; the names of
// other files are listed when `listOthers`, and those that failed to copy always are.
PublishReport copyFolder(const QString& source, const QString& dest, MediaKind kind, const QString& status,
                         const QString& doneMessage, bool listOthers,
                         const std::function<void(int, int)>& progress)
{
    if (auto refused = refuseDestination(dest, status))
        return *refused;
    const std::optional<QStringList> names = PublishAudit::ListFolderFiles(source);
    if (!names)
        return refusal(status, QStringLiteral("源文件夹无法读取：") + source);
    PublishReport report;
    report.status = status;
    report.listUpdate = PublishReport::ListUpdate::Append;
    QStringList failed;
    int done = 0;
    for (const QString& name : *names) {
        if (!hasExtension(name, kind)) {
            if (listOthers)
                report.items.append(name);
        } else if (!CopyEncoded(JoinPath(source, name), JoinPath(dest, name), kind)) {
            failed.append(name);
        }
        progress(++done, static_cast<int>(names->size()));
    }
    report.items += failed;
    report.complete = failed.isEmpty();
    report.message = report.complete ? doneMessage : QStringLiteral("还有文件没有复制成功");
    return report;
}

} // namespace

bool IsAccessCode(const std::optional<QString>& answer)
{
    return answer == QStringLiteral("qc");
}

bool AskAccessCode(Prompter& prompter, const QString& title)
{
    return IsAccessCode(prompter.input(QStringLiteral("password:"), title, QString()));
}

bool PublishAudit::LoadAllWords(const QString& txtFile)
{
    QFile file(txtFile);
    if (txtFile.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&file);
    QStringList words;
    QString line;
    while (in.readLineInto(&line)) {
        const QString word = line.trimmed();
        if (!word.isEmpty() && !words.contains(word))
            words.append(word);
    }
    m_words = std::move(words);
    return true;
}

bool PublishAudit::IsWordInList(const QString& word) const
{
    return m_words.contains(word);
}

std::optional<QStringList> PublishAudit::ListFolderFiles(const QString& strFolder)
{
    if (strFolder.isEmpty())
        return std::nullopt;
    const QFileInfo info(strFolder);
    if (!info.isDir() || !info.isReadable())
        return std::nullopt;
    return QDir(strFolder).entryList(QDir::Files, QDir::Name);
}

QStringList PublishAudit::audioSources(const PublishFolders& folders, const QString& word)
{
    if (!IsSafeMediaName(word))
        return {};
    // The first source files words under their initial: a/apple.wav.
    const qsizetype initialLength = word.front().isHighSurrogate() && word.size() > 1 ? 2 : 1;
    const QString fileName = word + PlainExtension(MediaKind::Voice);
    return {JoinPath(JoinPath(folders.audioSrc1, word.left(initialLength)), fileName),
            JoinPath(folders.audioSrc2, fileName)};
}

QString PublishAudit::pictureSource(const PublishFolders& folders, const QString& word)
{
    if (!IsSafeMediaName(word))
        return {};
    return JoinPath(folders.picSrc, word + PlainExtension(MediaKind::Picture));
}

PublishReport PublishAudit::checkAudio(const PublishFolders& folders) const
{
    PublishReport report;
    for (const QString& word : m_words) {
        const QStringList sources = audioSources(folders, word);
        if (std::none_of(sources.begin(), sources.end(), isFile))
            report.items.append(word);
    }
    report.status = kAudioStatus + QStringLiteral(":") + QString::number(report.items.size());
    report.message = kAudioDone;
    report.complete = report.items.isEmpty();
    return report;
}

PublishReport PublishAudit::copyAudio(const PublishFolders& folders) const
{
    if (auto refused = refuseDestination(folders.audioDest, kAudioStatus))
        return *refused;
    PublishReport report;
    report.status = kAudioStatus;
    int done = 0;
    for (const QString& word : m_words) {
        tell(done++, static_cast<int>(m_words.size()));
        const QStringList sources = audioSources(folders, word);
        const auto found = std::find_if(sources.begin(), sources.end(), isFile);
        if (found == sources.end()) {
            report.items.append(word);
            if (sources.isEmpty())
                continue;
        }
        const QString plainTarget = JoinPath(folders.audioDest, word + PlainExtension(MediaKind::Voice));
        // Without a source, a plain voice an older run left in the destination is still encoded.
        const bool copied = found != sources.end() ? CopyEncoded(*found, plainTarget, MediaKind::Voice)
                                                   : EncodeAudioFile(plainTarget);
        if (!copied && !report.items.contains(word))
            report.items.append(word);
    }
    tell(done, static_cast<int>(m_words.size()));
    report.complete = report.items.isEmpty();
    report.message = report.complete ? kAudioDone : kAudioMissing;
    return report;
}

PublishReport PublishAudit::copyAllAudio(const PublishFolders& folders) const
{
    return copyFolder(folders.audioSrc2, folders.audioDest, MediaKind::Voice, kAudioStatus,
                      QStringLiteral("OK！"), false, [this](int done, int total) { tell(done, total); });
}

PublishReport PublishAudit::checkPics(const PublishFolders& folders) const
{
    PublishReport report;
    for (const QString& word : m_words) {
        if (!isFile(pictureSource(folders, word)))
            report.items.append(word);
    }
    report.status = kPicStatus + QStringLiteral(":\n") + QString::number(report.items.size());
    report.message = QStringLiteral("check picture finished！");
    report.complete = report.items.isEmpty();
    return report;
}

PublishReport PublishAudit::copyPics(const PublishFolders& folders) const
{
    if (auto refused = refuseDestination(folders.picDest, kPicStatus))
        return *refused;
    PublishReport report;
    report.status = kPicStatus;
    int done = 0;
    for (const QString& word : m_words) {
        tell(done++, static_cast<int>(m_words.size()));
        const QString source = pictureSource(folders, word);
        if (source.isEmpty()) {
            report.items.append(word);
            continue;
        }
        // A word without a source picture keeps the encoded picture the destination already has.
        const QString plainTarget = JoinPath(folders.picDest, word + PlainExtension(MediaKind::Picture));
        const bool copied = !QFileInfo::exists(plainTarget) && isFile(source)
                                ? CopyEncoded(source, plainTarget, MediaKind::Picture)
                                : EncodePicFile(plainTarget);
        if (!copied)
            report.items.append(word);
    }
    tell(done, static_cast<int>(m_words.size()));
    report.complete = report.items.isEmpty();
    // A clean run leaves the list as it was; otherwise it shows what went wrong.
    report.listUpdate =
        report.complete ? PublishReport::ListUpdate::Keep : PublishReport::ListUpdate::Replace;
    report.message = report.complete ? QStringLiteral("ok") : kPicMissing;
    return report;
}

PublishReport PublishAudit::copyAllPics(const PublishFolders& folders) const
{
    return copyFolder(folders.picSrc, folders.picDest, MediaKind::Picture, QString(), QStringLiteral("OK"),
                      true, [this](int done, int total) { tell(done, total); });
}

} // namespace lexora
