#include "quiz/RecordLists.h"

#include "store/WordStore.h"

namespace lexora {

std::vector<ReportColumn> HistoryColumns()
{
    return {{QStringLiteral("序号"), 1, 8, Qt::AlignLeft},
            {QStringLiteral("完成时间"), 1, 4, Qt::AlignHCenter},
            {QStringLiteral("测试内容"), 5, 9, Qt::AlignLeft}};
}

QStringList HistoryRow(int index, const CHisType& record)
{
    return {QString::number(index + 1),
            record.myDate.trimmed() + QStringLiteral(" | ") + record.myTime.trimmed(),
            record.myTask.trimmed()};
}

std::vector<ReportColumn> UnitStatusColumns()
{
    return {{QStringLiteral("序号"), 1, 9, Qt::AlignLeft},
            {QStringLiteral("单元"), 1, 3, Qt::AlignHCenter},
            {QStringLiteral("单词拼写"), 1, 4, Qt::AlignHCenter},
            {QStringLiteral("单元测试"), 2, 9, Qt::AlignHCenter}};
}

QStringList UnitStatusRow(int index, const CBookUnit& unit)
{
    QStringList row{RowNumberText(index), unit.UnitName, QString(), QString()};
    const int status = unit.UnitStatus;
    if (status >= 0 && status <= 3) {
        const QString done = QStringLiteral("完成");
        const QString notDone = QStringLiteral("未完成");
        row[2] = (status & 1) != 0 ? done : notDone;
        row[3] = (status & 2) != 0 ? done : notDone;
    }
    return row;
}

std::vector<CBookUnit> ReadBookUnits(WordStore& store, std::int16_t book)
{
    // The loader replaces the unit list and moves to the first word; both are put back.
    std::vector<CBookUnit> current = store.catalogue().units();
    const int unitNum = store.catalogue().unitCount();
    const std::int16_t currWord = store.words().current();
    std::vector<CBookUnit> units;
    if (store.LoadBookUnits(book))
        units = store.catalogue().units();
    store.catalogue().restoreUnits(std::move(current), unitNum);
    store.words().setCurrent(currWord);
    return units;
}

} // namespace lexora
