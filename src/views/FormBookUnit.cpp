#include "views/FormBookUnit.h"

#include "store/Prompter.h"
#include "store/WordStore.h"
#include "ui/ViewHost.h"
#include "ui_FormBookUnit.h"

namespace lexora {

namespace {

const QString kReversedRange = QStringLiteral("不能反向选择单元！");
const QString kReversedTitle = QStringLiteral("Vantor英语");

} // namespace

FormBookUnit::FormBookUnit(WordStore& store, Prompter& prompter, ViewHost& host, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::FormBookUnit>()), m_store(store), m_prompter(prompter),
      m_host(host)
{
    ui->setupUi(this);
    setFixedSize(size());
    // Selection changes by keyboard count as clicks; the program's own fills are fenced off.
    connect(ui->lstBook, &QListWidget::currentRowChanged, this, [this] {
        if (!m_filling)
            lstBook_Click();
    });
    connect(ui->lstUnit, &QListWidget::currentRowChanged, this, [this] {
        if (!m_filling)
            lstUnit_Click();
    });
    connect(ui->lstUnit, &QListWidget::itemDoubleClicked, this, &FormBookUnit::cmdOK_Click);
    connect(ui->cmdOK, &QPushButton::clicked, this, &FormBookUnit::cmdOK_Click);
    connect(ui->cmdCancle, &QPushButton::clicked, this, &FormBookUnit::cmdCancle_Click);
    connect(ui->cmdReviewBook, &QPushButton::clicked, this, &FormBookUnit::cmdReviewBook_Click);
    connect(ui->cmdMistakes, &QPushButton::clicked, this, &FormBookUnit::cmdMistakes_Click);
    connect(ui->CheckUnitAll, &QCheckBox::clicked, this, &FormBookUnit::CheckUnitAll_Click);
    connect(ui->ComboUnitFrom, &QComboBox::activated, this, &FormBookUnit::ComboUnitFrom_Click);
    connect(ui->ComboUnitTo, &QComboBox::activated, this, &FormBookUnit::ComboUnitTo_Click);
}

FormBookUnit::~FormBookUnit() = default;

int FormBookUnit::exec()
{
    Form_Load();
    return QDialog::exec();
}

void FormBookUnit::Form_Load()
{
    m_entry = StoreSelection::take(m_store);
    FillBookList();
    FillUnitLists(m_store.catalogue().currentBook());
    setWindowTitle(m_store.catalogue().versionName() + QStringLiteral("--选择教程"));
    m_filling = true;
    // A stored unit the book no longer has (the course changed) falls back to the first unit.
    const int unit =
        m_store.catalogue().currentUnit() >= 0 && m_store.catalogue().currentUnit() < ui->lstUnit->count() ? m_store.catalogue().currentUnit() : 0;
    ui->lstUnit->setCurrentRow(ui->lstUnit->count() > 0 ? unit : -1);
    m_filling = false;
    refreshBookUnit();
}

void FormBookUnit::FillBookList()
{
    m_filling = true;
    ui->lstBook->clear();
    for (std::int16_t i = 0; i < m_store.catalogue().bookCount(); ++i)
        ui->lstBook->addItem(m_store.catalogue().bookName(i));
    ui->lstBook->setCurrentRow(m_store.catalogue().currentBook() < ui->lstBook->count() ? m_store.catalogue().currentBook() : -1);
    m_filling = false;
}

void FormBookUnit::FillUnitLists(int book)
{
    m_filling = true;
    ui->lstUnit->clear();
    ui->ComboUnitFrom->clear();
    ui->ComboUnitTo->clear();
    if (m_store.LoadBookUnits(static_cast<std::int16_t>(book))) {
        for (std::int16_t i = 0; i < m_store.catalogue().unitCount(); ++i) {
            const QString& name = m_store.catalogue().units()[static_cast<size_t>(i)].UnitName;
            ui->lstUnit->addItem(name);
            ui->ComboUnitFrom->addItem(name);
            ui->ComboUnitTo->addItem(name);
        }
    }
    m_filling = false;
    // Each book starts with the whole book as its review range.
    ui->CheckUnitAll->setChecked(true);
    CheckUnitAll_Click();
}

void FormBookUnit::refreshBookUnit()
{
    const QListWidgetItem* book = ui->lstBook->currentItem();
    const QListWidgetItem* unit = ui->lstUnit->currentItem();
    ui->lblBookUnit->setText((book ? book->text() : QString()) + QStringLiteral("  ") +
                             (unit ? unit->text() : QString()));
}

void FormBookUnit::lstBook_Click()
{
    FillUnitLists(ui->lstBook->currentRow());
    m_filling = true;
    ui->lstUnit->setCurrentRow(ui->lstUnit->count() > 0 ? 0 : -1);
    m_filling = false;
    refreshBookUnit();
}

void FormBookUnit::lstUnit_Click()
{
    refreshBookUnit();
}

void FormBookUnit::CheckUnitAll_Click()
{
    const bool all = ui->CheckUnitAll->isChecked();
    if (all) {
        ui->ComboUnitFrom->setCurrentIndex(ui->ComboUnitFrom->count() > 0 ? 0 : -1);
        ui->ComboUnitTo->setCurrentIndex(ui->ComboUnitTo->count() - 1);
    }
    ui->ComboUnitFrom->setEnabled(!all);
    ui->ComboUnitTo->setEnabled(!all);
}

void FormBookUnit::refuseReversed()
{
    m_prompter.message(kReversedRange, kReversedTitle, Prompter::Buttons::Ok, Prompter::Icon::Critical);
}

void FormBookUnit::ComboUnitTo_Click()
{
    if (ui->ComboUnitTo->currentIndex() < ui->ComboUnitFrom->currentIndex()) {
        refuseReversed();
        ui->ComboUnitTo->setCurrentIndex(ui->ComboUnitTo->count() - 1);
    }
}

void FormBookUnit::ComboUnitFrom_Click()
{
    const int from = ui->ComboUnitFrom->currentIndex();
    const int to = ui->ComboUnitTo->currentIndex();
    if (from >= 0 && to >= 0 && to < from) {
        refuseReversed();
        ui->ComboUnitFrom->setCurrentIndex(0);
    }
}

void FormBookUnit::cmdOK_Click()
{
    const int book = ui->lstBook->currentRow();
    const int unit = ui->lstUnit->currentRow();
    if (book < 0 || unit < 0)
        return;
    study(book, unit, [this] { return m_store.LoadUnitWords(m_store.catalogue().currentBook(), m_store.catalogue().currentUnit()); });
}

void FormBookUnit::cmdReviewBook_Click()
{
    const int book = ui->lstBook->currentRow();
    const auto from = static_cast<std::int16_t>(ui->ComboUnitFrom->currentIndex());
    const auto to = static_cast<std::int16_t>(ui->ComboUnitTo->currentIndex());
    if (book < 0 || from < 0 || to < 0)
        return;
    study(book, 0, [this, from, to] {
        return m_store.LoadUnitRangeWords(m_store.catalogue().currentBook(), from, to);
    });
}

void FormBookUnit::cmdMistakes_Click()
{
    // The review starts from the learner's own choice, not from the book being browsed here; when
    // it does not start, the dialog goes on showing what it showed.
    const StoreSelection browsing = StoreSelection::take(m_store);
    m_entry.restoreAll(m_store);
    if (m_host.ShowMistakeReview()) {
        QDialog::accept();
        return;
    }
    browsing.restoreAll(m_store);
}

void FormBookUnit::study(int book, int unit, const std::function<bool()>& load)
{
    // Before anything changes: a test or game still running answers against the list it drew from.
    if (!m_host.EndOtherCtrl()) {
        reject();
        return;
    }
    m_store.catalogue().setCurrent(static_cast<std::int16_t>(book), static_cast<std::int16_t>(unit));
    m_store.words().setCurrent(0);
    if (!load()) {
        // The loader has told the learner; the words they were studying stay.
        m_entry.restoreWords(m_store);
        return;
    }
    m_store.SaveLastBookUnit();
    m_host.ShowReader();
    accept();
}

void FormBookUnit::cmdCancle_Click()
{
    reject();
}

void FormBookUnit::reject()
{
    // Browsing other books reloaded the unit list; the caption and the stored choice need the old one.
    m_entry.restoreAll(m_store);
    QDialog::reject();
}

} // namespace lexora
