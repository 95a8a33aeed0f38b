#pragma once

#include "course/CourseSource.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace lexora {

class EmojiNames;

// What a course build is busy with, for a progress display.
enum class CourseStep
{
    Pictures,
    Voices
};

struct CourseBuildOptions
{
    QString sox = QStringLiteral("sox");
    // Processes reading voices aloud beside the one drawing pictures.
    int parallelJobs = 2;
    // Further files of the program's own folder (help texts, ...), copied into AppPics as they are.
    QStringList appFiles;
    // Hears how far a step has come (done of total); called on the building thread.
    std::function<void(CourseStep step, int done, int total)> progress;
    // Finds an emoji for each word the source gives no picture; without it such words stay without.
    const EmojiNames* emojiNames = nullptr;
    // Why there is no emojiNames, for the pictures report.
    QString emojiNamesMissing;
    // When set, this file tells which words without a picture got which emoji and which got none.
    QString picturesReport;
};

// Writes the runnable course tree of `source` into stageDir: Lexora/AppPics (database, fallback
// picture, game backgrounds) and Common (voice, pics, appvoice, myvoice). Everything is made in a
// temporary folder inside stageDir and moved into place at the end; only Lexora/AppPics and Common
// are replaced, the rest of Lexora is kept. On error nothing in stageDir has changed.
// Over an existing tree the learner's records are carried into the new database (results of words
// that are still there, unit status, history, last book and unit), and files of the old AppPics that
// the course does not make (help texts) are kept unless appFiles brings new ones of the same name.
// Drawing pictures needs a QGuiApplication.
std::optional<CourseError> BuildCourse(const CourseSource& source, const QString& stageDir,
                                       const CourseBuildOptions& options = {});

// The course's words, each English text once (its first row): all rows of a word share its media.
std::vector<const CourseWord*> DistinctWords(const CourseSource& source);

// The course name as the database keeps it. The window caption glues the name straight to
// "Lexora -- ", so a name ending in a Latin letter or digit gets a blank after it ("teacher Lexora").
QString StoredVersionName(const QString& name);

// Flag stored with each word: 1 when its English holds anything but the letters A to Z and a to z.
int CompositionOf(const QString& english);

} // namespace lexora
