#pragma once

#include "store/Locations.h"
#include "store/RecordSet.h"
#include "store/Records.h"

#include <QString>
#include <QVariantList>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace lexora {

class Prompter;
class Random;

// The program-wide word store: the database connection and its one shared row set, the course
// catalogue and settings, the current word list, the learning records. One instance is created at
// start-up and handed to every view by reference; its public fields are the state the views read and
// write.
class WordStore
{
public:
    WordStore(Locations locations, Prompter& prompter, Random& random);
    // A portable program folder.
    WordStore(const QString& programFolder, Prompter& prompter, Random& random);
    ~WordStore();
    WordStore(const WordStore&) = delete;
    WordStore& operator=(const WordStore&) = delete;

    // Called after the database could not be opened even after toggling its header; the program
    // ends there. Without a handler the failing operation just returns.
    void setFatalHandler(std::function<void()> handler) { m_onFatal = std::move(handler); }

    // --- connection and row set
    QString strDBFile;
    QString strConnect;
    QString strSQL;
    std::unique_ptr<RecordSet> myRS;

    void MakeConnectString();
    // Starts deriving the database's keys in the background, so that the first query finds them
    // ready; harmless when the file is missing.
    void PrefetchKeys();

    // While one lives, the file stays plain between queries and is scrambled once at its end (when
    // the last query would have left it scrambled): a burst of queries then toggles the header once
    // each way instead of once per query.
    class Burst
    {
    public:
        explicit Burst(WordStore& store) : m_store(store) { ++m_store.m_burstDepth; }
        ~Burst();
        Burst(const Burst&) = delete;
        Burst& operator=(const Burst&) = delete;

    private:
        WordStore& m_store;
    };

    // Opens myRS on sql (values bound to its '?' marks). A failed open toggles the file header and
    // tries once more; if that fails too the header is toggled back, the error is shown, and the
    // fatal handler runs.
    bool OpenRecordset(const QString& sql, const QVariantList& params = {});
    // Closes myRS and scrambles the database file again; nothing when no row set is open.
    void CloseRecordset();
    // Closes myRS without scrambling (the file stays plain until the next CloseRecordset).
    void ReleaseRecordset();
    QString GetCommonPath() const;
    const QString& programFolder() const { return m_locations.programFolder(); }
    const Locations& locations() const { return m_locations; }

    // --- catalogue and settings
    std::int16_t iVersionID = 0;
    QString strVersionName;
    QString strVersionDB;
    std::int16_t iBookNum = 0;
    std::vector<QString> arrBookName;
    std::int16_t iCurrBook = 0;
    std::int16_t iCurrUnit = 0;
    std::int16_t iUnitNum = 0;
    std::vector<CBookUnit> arrBookUnit;

    // False when the catalogue cannot serve (the reason was shown); the program then ends.
    bool LoadSettings();
    bool LoadBookUnits(std::int16_t book);
    // False (after telling the learner, once a run) when the choice could not be stored.
    bool SaveLastBookUnit();
    QString GetBookName(std::int16_t book) const;

    // --- current word list
    std::vector<CWordType> arrWords;
    std::int16_t iWordNum = 0;
    std::int16_t iCurrWord = 0;
    QString strLastEnglish;
    QString strCurrEnglish;
    QString strCurrChinese;
    std::int16_t iTestTotal = 0;
    std::int16_t iTestDone = 0;

    bool LoadUnitWords(std::int16_t book, std::int16_t unit);
    // Stores the records of the words at these list indices as UpdateUserInfo does, but all in one
    // transaction: afterwards every one of them is stored, or, when anything failed or the program
    // died on the way, none. False when they could not be stored.
    bool SaveWordResults(const std::vector<int>& indices);
    // Follows a save of results: called with 0 once its transaction has begun, with the number of
    // words written after each word, and with -1 once it is committed.
    void setSaveWatcher(std::function<void(int)> watcher) { m_saveWatcher = std::move(watcher); }
    bool LoadUnitRangeWords(std::int16_t book, std::int16_t unitFrom, std::int16_t unitTo);
    void FetchWordRecord(RecordSet& rs, int index);
    void SetCurrWordText();
    void ResetTestFlags();
    void ResetTestFlagsSkipPhrases();
    // Words of the current list that can be read: the count, never more than the records held.
    int wordCount() const { return std::clamp<int>(iWordNum, 0, static_cast<int>(arrWords.size())); }
    // The word at index of the current list; null outside it, so an index is checked where it is used.
    CWordType* word(int index)
    {
        return index >= 0 && index < wordCount() ? &arrWords[static_cast<size_t>(index)] : nullptr;
    }
    const CWordType* word(int index) const { return const_cast<WordStore*>(this)->word(index); }
    // Changes whenever a load replaces the current list: what was drawn from one list is never judged
    // or saved against another.
    std::uint32_t listStamp() const { return m_listStamp; }

    // --- learning records
    std::vector<CHisType> arrHistory;
    bool SetUnitStatus(std::int16_t status);
    std::int16_t LoadHistory();

    // --- random selection
    std::int16_t RandUntestedWord();

    Prompter& prompter() { return m_prompter; }
    Random& random() { return m_random; }
    // Title of the store's message boxes.
    QString messageTitle() const;

    // The kinds of learning record the program writes.
    enum class RecordKind
    {
        LastBookUnit,
        WordResult,
        UnitStatus
    };
    // Tells the learner that a record of this kind could not be saved and why; only the first
    // failure of each kind in a run is shown, the program goes on either way. Returns false.
    bool reportWriteFailure(RecordKind kind, const QString& reason);

private:
    bool loadWords(const QString& sql);
    bool openOnce(const QString& sql, const QVariantList& params, QString* error);
    // Runs attempt; when it fails, toggles the file header and runs it once more. When both fail the
    // header is put back as it was found and error holds the reason.
    bool inEitherHeaderState(const std::function<bool(QString*)>& attempt, QString* error);
    bool writeResults(Database& db, const std::vector<int>& indices, QString* error);
    void failCatalogue(const QString& what);
    void failOpen(const QString& reason);

    Locations m_locations;
    Prompter& m_prompter;
    Random& m_random;
    KeyCache m_keys;
    std::function<void()> m_onFatal;
    std::uint32_t m_listStamp = 0;
    unsigned m_reportedWrites = 0; // one bit per RecordKind already shown
    std::function<void(int)> m_saveWatcher;
    int m_burstDepth = 0;
    bool m_scrambleOwed = false; // a query of the burst left the file plain for the next one
};

// Merges a new flag into a unit status (1 letter game, 2 test; 3 both or anything above 2).
std::int16_t MergeUnitStatus(std::int16_t current, std::int16_t status);

} // namespace lexora
