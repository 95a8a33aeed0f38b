#include "store/TestRuns.h"

#include "store/SqlCipher.h"

#include <sqlcipher/sqlite3.h>

namespace lexora {

bool AddTestRun(Database& db, const TestRun& run, QString* error)
{
    if (!db.exec(QLatin1String(kTestRunsSchema), error))
        return false;
    auto statement = db.prepare(
        QStringLiteral("insert into TestRuns (Date, Time, Asked, Wrong, Task) values (?, ?, ?, ?, ?)"),
        {run.date.toString(Qt::ISODate), run.time, run.asked, run.wrong, run.task}, error);
    if (!statement)
        return false;
    if (sqlite3_step(statement.get()) != SQLITE_DONE) {
        *error = db.lastError();
        return false;
    }
    return true;
}

} // namespace lexora
