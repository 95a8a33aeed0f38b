#pragma once

#include "publish/CourseSource.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace lexora {

struct CourseBuildOptions
{
    QString sox = QStringLiteral("sox");
    // Processes reading voices aloud beside the one drawing pictures.
    int parallelJobs = 2;
    // Further files of the program's own folder (help texts, ...), copied into AppPics as they are.
    QStringList appFiles;
};

// Writes the runnable course tree of `source` into stageDir: Lexora/AppPics (database, fallback
// picture, game backgrounds) and Common (voice, pics, appvoice, myvoice). Everything is made in a
// temporary folder inside stageDir and moved into place at the end; only Lexora/AppPics and Common
// are replaced, the rest of Lexora is kept. On error nothing in stageDir has changed.
// Drawing pictures needs a QGuiApplication.
std::optional<CourseError> BuildCourse(const CourseSource& source, const QString& stageDir,
                                       const CourseBuildOptions& options = {});

// Flag stored with each word: 1 when its English holds anything but the letters A to Z and a to z.
int CompositionOf(const QString& english);

} // namespace lexora
