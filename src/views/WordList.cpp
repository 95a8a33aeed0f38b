#include "views/WordList.h"

#include "media/SoundPlayer.h"
#include "store/WordStore.h"
#include "ui/ClockTimer.h"
#include "ui/ViewHost.h"
#include "ui_WordList.h"

#include <QHeaderView>
#include <algorithm>

namespace lexora {

namespace {

// Long enough for the click to be handled before the voice holds the window.
constexpr int kSoundDelayMs = 10;

} // namespace

WordList::WordList(const ViewContext& context, ViewHost& host, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::WordList>()), m_ctx(context), m_host(host),
      m_timer1(new ClockTimer(context.clock, kSoundDelayMs, this))
{
    ui->setupUi(this);
    setFocusProxy(ui->ListView1);
    ui->ListView1->setSortingEnabled(false);
    ui->ListView1->header()->setSectionsClickable(true);
    connect(ui->ListView1->header(), &QHeaderView::sectionClicked, this, &WordList::ListView1_ColumnClick);
    connect(ui->ListView1, &QTreeWidget::itemClicked, this, &WordList::ListView1_Click);
    connect(ui->ListView1, &QTreeWidget::itemDoubleClicked, this, &WordList::ListView1_DblClick);
    connect(m_timer1, &ClockTimer::timeout, this, &WordList::Timer1_Timer);
    connect(ui->cmdToLexivo, &ClickLabel::clicked, this, &WordList::cmdToLexivo_Click);
}

WordList::~WordList() = default;

int WordList::wordNum() const
{
    return std::clamp<int>(m_ctx.store.words().count(), 0, static_cast<int>(m_ctx.store.words().records().size()));
}

void WordList::fill(const std::vector<ReportColumn>& columns, const std::vector<QStringList>& rows)
{
    SetUpReportColumns(*ui->ListView1, columns);
    for (const QStringList& row : rows)
        AddReportRow(*ui->ListView1, row);
    // A list once sorted by a header click stays sorted as it is filled again.
    if (m_sort.sorted)
        ui->ListView1->sortItems(m_sort.key, m_sort.order);
}

void WordList::FillWordErrNum()
{
    std::vector<QStringList> rows;
    for (int i = 0; i < wordNum(); ++i)
        rows.push_back(ErrNumRow(i, m_ctx.store.words().records()[static_cast<size_t>(i)]));
    fill(ErrNumColumns(), rows);
}

void WordList::FillWordTestResultList()
{
    int errors = 0;
    const auto rows = TestResultRows(m_ctx.store.words().records(), wordNum(), &errors);
    fill(TestResultColumns(), rows);
    ui->lblResult->setText(TestResultSummary(static_cast<int>(rows.size()), errors));
}

void WordList::ListView1_ColumnClick(int column)
{
    m_sort.clicked(column);
    ui->ListView1->sortItems(m_sort.key, m_sort.order);
    ui->ListView1->header()->setSortIndicatorShown(true);
    ui->ListView1->header()->setSortIndicator(m_sort.key, m_sort.order);
}

void WordList::ListView1_Click()
{
    m_timer1->setEnabled(true);
}

void WordList::Timer1_Timer()
{
    m_timer1->setEnabled(false);
    if (const QTreeWidgetItem* item = ui->ListView1->currentItem())
        m_ctx.sound.PlayWordSound(item->text(1));
}

void WordList::ListView1_DblClick()
{
    m_host.ShowUserControl(ViewId::Reader);
}

void WordList::cmdToLexivo_Click()
{
    m_host.ShowUserControl(ViewId::Reader);
}

} // namespace lexora
