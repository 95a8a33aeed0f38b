#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class FormHistory;
}

namespace lexora {

class WordStore;

// The test history the store has loaded, newest first.
class FormHistory final : public QDialog
{
    Q_OBJECT
public:
    explicit FormHistory(const WordStore& store, QWidget* parent = nullptr);
    ~FormHistory() override;

    void FillHistoryList();

private:
    std::unique_ptr<Ui::FormHistory> ui;
    const WordStore& m_store;
};

} // namespace lexora
