#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

namespace Ui {
class FormLearnStatus;
}

namespace lexora {

class WordStore;

// For every unit of a chosen book: whether its letter game and its test are done. Reading another
// book's units leaves the current book's unit list as it was.
class FormLearnStatus final : public QDialog
{
    Q_OBJECT
public:
    explicit FormLearnStatus(WordStore& store, QWidget* parent = nullptr);
    ~FormLearnStatus() override;

    void FillDetailList(std::int16_t iBook);
    void lstBook_Click(int index);

private:
    std::unique_ptr<Ui::FormLearnStatus> ui;
    WordStore& m_store;
};

} // namespace lexora
