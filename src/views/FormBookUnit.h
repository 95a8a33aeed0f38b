#pragma once

#include "views/StoreSelection.h"

#include <QDialog>
#include <functional>
#include <memory>

namespace Ui {
class FormBookUnit;
}

namespace lexora {

class Prompter;
class ViewHost;
class WordStore;

// The choice of book and of one unit or a range of its units. Confirming loads the words, stores the
// choice, shows the reader and closes; cancelling leaves the word list and the choice as they were.
class FormBookUnit final : public QDialog
{
    Q_OBJECT
public:
    FormBookUnit(WordStore& store, Prompter& prompter, ViewHost& host, QWidget* parent = nullptr);
    ~FormBookUnit() override;

    // Fills the lists from the store's current choice; every showing starts here.
    void Form_Load();
    // Form_Load, then the modal loop.
    int exec() override;

    void lstBook_Click();
    void lstUnit_Click();
    void cmdOK_Click();
    void cmdReviewBook_Click();
    // The notebook's review; the dialog closes once it is shown, the chosen book and unit unchanged.
    void cmdMistakes_Click();
    void CheckUnitAll_Click();
    void ComboUnitFrom_Click();
    void ComboUnitTo_Click();
    void cmdCancle_Click();

    void reject() override;

private:
    void FillBookList();
    void FillUnitLists(int book);
    void refreshBookUnit();
    void refuseReversed();
    // Asks the running test or game to end, then makes book and unit current and loads their words
    // with load(); declined, the dialog closes and nothing changes.
    void study(int book, int unit, const std::function<bool()>& load);

    std::unique_ptr<Ui::FormBookUnit> ui;
    WordStore& m_store;
    Prompter& m_prompter;
    ViewHost& m_host;
    StoreSelection m_entry;
    bool m_filling = false;
};

} // namespace lexora
