#pragma once

#include "ui/WordListRows.h"

#include <QStringList>
#include <cstdint>
#include <vector>

namespace lexora {

class CBookUnit;
class CHisType;
class WordStore;

std::vector<ReportColumn> HistoryColumns();
// Row of the history record at position index (0-based), numbered from 1.
QStringList HistoryRow(int index, const CHisType& record);

std::vector<ReportColumn> UnitStatusColumns();
// A unit's row: its number, its name, and whether the letter game and the test are done; an unknown
// status leaves both status cells empty.
QStringList UnitStatusRow(int index, const CBookUnit& unit);

// The units of any book, read with the store's own loader. The store's unit list is the current
// book's again afterwards, which the tests' and games' status updates rely on.
std::vector<CBookUnit> ReadBookUnits(WordStore& store, std::int16_t book);

} // namespace lexora
