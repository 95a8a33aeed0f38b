#pragma once

#include "store/RecordSet.h"
#include "store/SqlCipher.h"

#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>

namespace lexora {

// Which head state of a file is tried first: the one it is found in, or the other one.
enum class HeadFirst
{
    AsFound,
    Turned
};

// Runs attempt on a database file that is scrambled at rest, in the head state `first` names and then,
// when that fails, in the other one. A file at rest is plain only once its head is turned, so trying
// that first spares an attempt (and a key) bound to fail; a head that cannot be turned (a read-only
// file) is tried as found. When both fail the head is put back as it was found and error holds the
// reason that is not merely the wrong head state. `turned` (when given) tells whether the head was
// turned to succeed.
bool InEitherHeadState(const QString& file, const std::function<bool(QString*)>& attempt, QString* error,
                       bool* turned = nullptr, HeadFirst first = HeadFirst::AsFound);

// The course database of one learner: its file, the keys derived for it, and the one shared row set
// the program's queries read through. It shows nothing; every failure is returned as its reason.
class CourseDatabase
{
public:
    explicit CourseDatabase(QString file);
    CourseDatabase(const CourseDatabase&) = delete;
    CourseDatabase& operator=(const CourseDatabase&) = delete;

    const QString& file() const { return m_file; }
    // The connection text the queries name; our layer reads its data source and password.
    const QString& connectString() const { return m_connect; }

    // Starts deriving the file's keys in the background, so that the first query finds them ready;
    // harmless when the file is missing.
    void prefetchKeys();

    // Opens the row set on sql (values bound to its '?' marks), in whichever head state the file is.
    bool open(const QString& sql, const QVariantList& params, QString* error);
    // The row set of the last successful open.
    RecordSet& rows() { return *m_rows; }
    bool isOpen() const { return m_rows && m_rows->IsOpen(); }
    // Closes the row set and scrambles the file again; nothing when no row set is open.
    void close();
    // Closes the row set without scrambling (the file stays plain until the next close).
    void release() { m_rows.reset(); }

    // A connection of its own for a transaction; the file is plain while it lives. Call finish()
    // once it is gone.
    std::unique_ptr<Database> connect(QString* error);
    void finish();

    // While one lives, the file stays plain between queries and is scrambled once at its end (when
    // the last query would have left it scrambled): a burst of queries then turns the head once each
    // way instead of once per query.
    class Burst
    {
    public:
        explicit Burst(CourseDatabase& db) : m_db(db) { ++m_db.m_burstDepth; }
        ~Burst();
        Burst(const Burst&) = delete;
        Burst& operator=(const Burst&) = delete;

    private:
        CourseDatabase& m_db;
    };

private:
    bool inEitherState(const std::function<bool(QString*)>& attempt, QString* error);
    bool checkExists(QString* error) const;

    QString m_file;
    QString m_connect;
    KeyCache m_keys;
    std::unique_ptr<RecordSet> m_rows;
    int m_burstDepth = 0;
    bool m_scrambleOwed = false; // a query of the burst left the file plain for the next one
    bool m_leftPlain = false;    // the last open left the file plain and nothing has scrambled it since
};

} // namespace lexora
