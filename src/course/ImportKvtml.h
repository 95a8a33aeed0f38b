#pragma once

#include "course/CourseImport.h"

#include <QByteArray>

namespace lexora {

// A KVTML 2 vocabulary file: its identifiers name the translations, its lessons (nested ones in
// order) become units, entries outside every lesson are words of no unit. JPEG pictures and WAV
// sounds of an entry's English come along; other media are left out with a note.
ImportRead ReadKvtml(const QByteArray& bytes, const ImportOptions& options);

} // namespace lexora
