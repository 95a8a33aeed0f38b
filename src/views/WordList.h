#pragma once

#include "ui/ViewContext.h"
#include "ui/WordListRows.h"

#include <QWidget>
#include <memory>

class QTreeWidgetItem;

namespace Ui {
class WordList;
}

namespace lexora {

class ClockTimer;
class ViewHost;

// The current words as a table: their error counts, or the result of the test just taken. A click
// on a row plays the word; a double click goes back to the reader.
class WordList final : public QWidget
{
    Q_OBJECT
public:
    WordList(const ViewContext& context, ViewHost& host, QWidget* parent = nullptr);
    ~WordList() override;

    void FillWordErrNum();
    void FillWordTestResultList();

    void ListView1_ColumnClick(int column);
    void ListView1_Click();
    void ListView1_DblClick();
    void Timer1_Timer();
    void cmdToLexivo_Click();

    ClockTimer& Timer1() { return *m_timer1; }
    const ListSort& sortState() const { return m_sort; }

private:
    void fill(const std::vector<ReportColumn>& columns, const std::vector<QStringList>& rows);
    int wordNum() const;

    std::unique_ptr<Ui::WordList> ui;
    ViewContext m_ctx;
    ViewHost& m_host;
    ClockTimer* m_timer1;
    ListSort m_sort;
};

} // namespace lexora
