#pragma once

#include <QString>

namespace lexora {

// Why a file or the database refused, in words a learner's parent can act on. The platform's own
// texts are English; these are what the message boxes show.

// A reason for an errno value (a file that could not be written, a folder that could not be used).
QString DescribeFileError(int error);

// A reason for an SQLite result code; detail is SQLite's own message, from which the name of a
// missing table or column is taken.
QString DescribeSqliteError(int code, const QString& detail = {});

} // namespace lexora
