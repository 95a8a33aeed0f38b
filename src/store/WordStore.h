#pragma once

#include "store/RecordSet.h"
#include "store/Records.h"

#include <QString>
#include <QVariantList>
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
    WordStore(QString programFolder, Prompter& prompter, Random& random);
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
    // Opens myRS on sql (values bound to its '?' marks). A failed open toggles the file header and
    // tries once more; if that fails too the header is toggled back, the error is shown, and the
    // fatal handler runs.
    bool OpenRecordset(const QString& sql, const QVariantList& params = {});
    // Closes myRS and scrambles the database file again; nothing when no row set is open.
    void CloseRecordset();
    // Closes myRS without scrambling (the file stays plain until the next CloseRecordset).
    void ReleaseRecordset();
    QString GetCommonPath() const;
    const QString& programFolder() const { return m_programFolder; }

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
    bool LoadUnitRangeWords(std::int16_t book, std::int16_t unitFrom, std::int16_t unitTo);
    void FetchWordRecord(RecordSet& rs, int index);
    void SetCurrWordText();
    void ResetTestFlags();
    void ResetTestFlagsSkipPhrases();

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
    void failCatalogue(const QString& what);
    void failOpen(const QString& reason);

    QString m_programFolder;
    Prompter& m_prompter;
    Random& m_random;
    KeyCache m_keys;
    std::function<void()> m_onFatal;
    unsigned m_reportedWrites = 0; // one bit per RecordKind already shown
};

// Merges a new flag into a unit status (1 letter game, 2 test; 3 both or anything above 2).
std::int16_t MergeUnitStatus(std::int16_t current, std::int16_t status);

} // namespace lexora
