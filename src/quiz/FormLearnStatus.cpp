#include "quiz/FormLearnStatus.h"

#include "quiz/RecordLists.h"
#include "store/WordStore.h"
#include "ui_FormLearnStatus.h"

namespace lexora {

FormLearnStatus::FormLearnStatus(WordStore& store, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::FormLearnStatus>()), m_store(store)
{
    ui->setupUi(this);
    setFixedSize(size());
    ui->lblTitle->setText(store.catalogue().versionName() + QStringLiteral("课程学习测试完成情况"));
    for (std::int16_t b = 0; b < store.catalogue().bookCount(); ++b)
        ui->lstBook->addItem(store.catalogue().bookName(b));
    ui->lstBook->setCurrentIndex(store.catalogue().currentBook());
    FillDetailList(store.catalogue().currentBook());
    connect(ui->lstBook, &QComboBox::activated, this, &FormLearnStatus::lstBook_Click);
    connect(ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

FormLearnStatus::~FormLearnStatus() = default;

void FormLearnStatus::lstBook_Click(int index)
{
    FillDetailList(static_cast<std::int16_t>(index));
}

void FormLearnStatus::FillDetailList(std::int16_t iBook)
{
    SetUpReportColumns(*ui->ListDetail, UnitStatusColumns());
    const std::vector<CBookUnit> units = ReadBookUnits(m_store, iBook);
    for (size_t i = 0; i < units.size(); ++i)
        AddReportRow(*ui->ListDetail, UnitStatusRow(static_cast<int>(i), units[i]));
}

} // namespace lexora
