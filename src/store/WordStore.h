#pragma once

#include "store/Catalogue.h"
#include "store/CourseDatabase.h"
#include "store/Locations.h"
#include "store/MistakeNotebook.h"
#include "store/StudyWords.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace lexora {

class Prompter;
class Random;

// The program-wide word store: the learner's course database, its catalogue and the current word
// list. One instance is created at start-up and handed to every view by reference. It is where the
// store's failures become what the learner is told.
class WordStore
{
public:
    WordStore(Locations locations, Prompter& prompter, Random& random);
    // A portable program folder.
    WordStore(const QString& programFolder, Prompter& prompter, Random& random);
    WordStore(const WordStore&) = delete;
    WordStore& operator=(const WordStore&) = delete;

    // Called after the database could not be opened even after turning its head; the program ends
    // there. Without a handler the failing operation just returns.
    void setFatalHandler(std::function<void()> handler) { m_onFatal = std::move(handler); }

    CourseDatabase& database() { return m_db; }
    Catalogue& catalogue() { return m_catalogue; }
    const Catalogue& catalogue() const { return m_catalogue; }
    StudyWords& words() { return m_words; }
    const StudyWords& words() const { return m_words; }

    // Starts deriving the database's keys in the background; harmless when the file is missing.
    void PrefetchKeys() { m_db.prefetchKeys(); }
    QString GetCommonPath() const { return m_locations.commonFolder(); }
    const QString& programFolder() const { return m_locations.programFolder(); }
    const Locations& locations() const { return m_locations; }

    // False when the catalogue cannot serve (the reason was shown); the program then ends.
    bool LoadSettings();
    bool LoadBookUnits(std::int16_t book);
    // False (after telling the learner, once a run) when the choice could not be stored.
    bool SaveLastBookUnit();

    bool LoadUnitWords(std::int16_t book, std::int16_t unit);
    bool LoadUnitRangeWords(std::int16_t book, std::int16_t unitFrom, std::int16_t unitTo);
    // Stores the results of the words at these list indices in one transaction: afterwards every one
    // of them is stored, or, when anything failed or the program died on the way, none. False when
    // they could not be stored.
    bool SaveWordResults(const std::vector<int>& indices);
    // Follows a save of results: called with 0 once its transaction has begun, with the number of
    // words written after each word, and with -1 once it is committed.
    void setSaveWatcher(std::function<void(int)> watcher) { m_saveWatcher = std::move(watcher); }

    // Marks the current unit; false when it could not be stored (the learner was told once a run).
    bool SetUnitStatus(UnitMark mark);
    // Notes a test run finished on day (words asked, of them wrong) for the parents' report.
    bool LogTestRun(const QDate& day, int asked, int wrong);
    // The number of history rows read; 0 (after telling the learner) when there are none.
    std::int16_t LoadHistory();
    std::int16_t RandUntestedWord() { return m_words.RandUntestedWord(m_random); }

    MistakeNotebook& notebook() { return m_notebook; }
    // Puts wrong answers in the notebook and moves words reviewed right; false (the learner told
    // once a run) when it could not be stored.
    bool RecordNotebookAnswers(const NotebookAnswers& answers, const QDate& today);
    // Words of the notebook due today; 0 when there are none or the notebook cannot be read.
    int NotebookDueCount(const QDate& today);
    // Loads the notebook's words due today (each English text once) as the current list; false, with
    // nothing told, when none is due or none is found in the course.
    bool LoadNotebookWords(const QDate& today);
    // The current list is the notebook's review, not a unit: finishing it marks no unit.
    bool ReviewingNotebook() const { return m_reviewStamp == m_words.stamp(); }

    Prompter& prompter() { return m_prompter; }
    Random& random() { return m_random; }
    // Title of the store's message boxes.
    QString messageTitle() const;

    // The kinds of learning record the program writes.
    enum class RecordKind
    {
        LastBookUnit,
        WordResult,
        UnitStatus,
        Notebook,
        TestRun
    };
    // Tells the learner that a record of this kind could not be saved and why; only the first
    // failure of each kind in a run is shown, the program goes on either way. Returns false.
    bool reportWriteFailure(RecordKind kind, const QString& reason);

private:
    bool loadWords(const QString& sql, const QString& missing, const QVariantList& params = {});
    // Shows a failure of the store: an open failure ends the program, a missing record is told with
    // `missing` (nothing when empty), a write failure as a record of kind `written`.
    bool fail(const StoreFailure& failure, const QString& missing, RecordKind written);
    void failCatalogue(const QString& what);

    Locations m_locations;
    Prompter& m_prompter;
    Random& m_random;
    CourseDatabase m_db;
    Catalogue m_catalogue;
    StudyWords m_words;
    MistakeNotebook m_notebook{m_db};
    std::optional<std::uint32_t> m_reviewStamp; // the list loaded by the last review
    std::function<void()> m_onFatal;
    unsigned m_reportedWrites = 0; // one bit per RecordKind already shown
    std::function<void(int)> m_saveWatcher;
};

} // namespace lexora
