#include "quiz/FormHistory.h"

#include "quiz/RecordLists.h"
#include "store/WordStore.h"
#include "ui_FormHistory.h"

namespace lexora {

FormHistory::FormHistory(const WordStore& store, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::FormHistory>()), m_store(store)
{
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->Command1, &QPushButton::clicked, this, &QDialog::accept);
    FillHistoryList();
}

FormHistory::~FormHistory() = default;

void FormHistory::FillHistoryList()
{
    SetUpReportColumns(*ui->ListView1, HistoryColumns());
    for (size_t i = 0; i < m_store.catalogue().history().size(); ++i)
        AddReportRow(*ui->ListView1, HistoryRow(static_cast<int>(i), m_store.catalogue().history()[i]));
}

} // namespace lexora
