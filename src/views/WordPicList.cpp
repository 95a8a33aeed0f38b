#include "views/WordPicList.h"

#include "media/MediaFiles.h"
#include "media/PageScale.h"
#include "media/PictureBox.h"
#include "media/SoundPlayer.h"
#include "store/WordStore.h"
#include "ui/ViewHost.h"
#include "ui_WordPicList.h"
#include "views/ReaderLogic.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>

namespace lexora {

namespace {

constexpr double kChinesePt = 14.25;
constexpr double kEnglishPt = 13.5;
constexpr double kButtonPt = 10.5;
// A long phrase shrinks to fit its slot, but not below what a child can still read.
constexpr int kMinEnglishPt = 8;

} // namespace

WordPicList::WordPicList(const ViewContext& context, ViewHost& host, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::WordPicList>()), m_ctx(context), m_host(host)
{
    ui->setupUi(this);
    m_imgWord = {ui->imgWord_0, ui->imgWord_1, ui->imgWord_2, ui->imgWord_3,
                 ui->imgWord_4, ui->imgWord_5, ui->imgWord_6, ui->imgWord_7};
    m_lblCh = {ui->lblCh_0, ui->lblCh_1, ui->lblCh_2, ui->lblCh_3,
               ui->lblCh_4, ui->lblCh_5, ui->lblCh_6, ui->lblCh_7};
    m_lblWord = {ui->lblWord_0, ui->lblWord_1, ui->lblWord_2, ui->lblWord_3,
                 ui->lblWord_4, ui->lblWord_5, ui->lblWord_6, ui->lblWord_7};
    setFonts();
    for (int k = 0; k < kPicListGroupSize; ++k) {
        for (QLabel* label : {m_imgWord[static_cast<size_t>(k)], m_lblCh[static_cast<size_t>(k)],
                              m_lblWord[static_cast<size_t>(k)]}) {
            label->installEventFilter(this);
            label->setCursor(Qt::PointingHandCursor);
        }
    }
    connect(ui->cmdFirstGroup, &QPushButton::clicked, this, &WordPicList::cmdFirstGroup_Click);
    connect(ui->cmdPrevGroup, &QPushButton::clicked, this, &WordPicList::cmdPrevGroup_Click);
    connect(ui->cmdNextGroup, &QPushButton::clicked, this, &WordPicList::cmdNextGroup_Click);
    connect(ui->cmdLastGroup, &QPushButton::clicked, this, &WordPicList::cmdLastGroup_Click);
    connect(ui->cmdReturn, &QPushButton::clicked, this, &WordPicList::cmdReturn_Click);
}

WordPicList::~WordPicList() = default;

void WordPicList::setFonts()
{
    QFont chinese(QStringLiteral("Noto Sans CJK SC"));
    chinese.setPointSizeF(kChinesePt);
    QFont english(QStringLiteral("DejaVu Sans"));
    english.setPointSizeF(kEnglishPt);
    for (int k = 0; k < kPicListGroupSize; ++k) {
        PageScale::setFont(*m_lblCh[static_cast<size_t>(k)], chinese);
        PageScale::setFont(*m_lblWord[static_cast<size_t>(k)], english);
    }
    QFont buttons(QStringLiteral("Noto Sans CJK SC"));
    buttons.setPointSizeF(kButtonPt);
    for (QPushButton* b :
         {ui->cmdFirstGroup, ui->cmdPrevGroup, ui->cmdNextGroup, ui->cmdLastGroup, ui->cmdReturn})
        PageScale::setFont(*b, buttons);
}

void WordPicList::InitWordPicList()
{
    m_paging = PicListPaging(std::clamp<int>(m_ctx.store.words().count(), 0,
                                             static_cast<int>(m_ctx.store.words().records().size())));
    m_firstIndex = 0;
    m_group = m_paging.firstGroup();
    UpdateGroupButtons();
    LoadPics();
}

void WordPicList::LoadPics()
{
    for (int k = 0; k < kPicListGroupSize; ++k) {
        m_imgWord[static_cast<size_t>(k)]->hide();
        m_lblWord[static_cast<size_t>(k)]->hide();
        m_lblCh[static_cast<size_t>(k)]->hide();
    }
    const int count = m_paging.countIn(m_group);
    m_firstIndex = m_paging.firstIndex(m_group);
    for (int k = 0; k < count; ++k)
        fillSlot(k, m_firstIndex + k);
    UpdateGroupButtons();
}

void WordPicList::fillSlot(int slot, int wordIndex)
{
    const CWordType* word = m_ctx.store.words().word(wordIndex);
    if (!word)
        return;
    const CWordType& record = *word;
    QLabel* picture = m_imgWord[static_cast<size_t>(slot)];
    QLabel* chinese = m_lblCh[static_cast<size_t>(slot)];
    QLabel* english = m_lblWord[static_cast<size_t>(slot)];
    // Decoded in memory: the picture folder stays encoded.
    if (const auto image = m_ctx.media.TakeWordPic(record.English)) {
        PageScale::showDrawn(*picture, [shown = *image](const QLabel& label) {
            return FitPixmap(shown, label.size(), Qt::IgnoreAspectRatio);
        });
    } else {
        picture->clear();
        chinese->setText(record.Chinese);
        chinese->show();
    }
    picture->show();
    QFont font = PageScale::font(*english);
    font.setPointSizeF(kEnglishPt);
    const int room = PageScale::geometry(*english).width();
    // A phrase too wide for its room steps down in whole points until it fits.
    if (QFontMetrics(font).horizontalAdvance(record.English) > room) {
        font.setPointSize(FitFontSize(
            static_cast<int>(kEnglishPt), room,
            [&](int pt) {
                QFont f(font);
                f.setPointSize(pt);
                return QFontMetrics(f).horizontalAdvance(record.English);
            },
            kMinEnglishPt));
    }
    PageScale::setFont(*english, font);
    english->setText(record.English);
    english->setAccessibleName(record.English);
    english->show();
}

void WordPicList::UpdateGroupButtons()
{
    const GroupButtons enable = m_paging.buttonsFor(m_group);
    ui->cmdFirstGroup->setEnabled(enable.first);
    ui->cmdPrevGroup->setEnabled(enable.prev);
    ui->cmdNextGroup->setEnabled(enable.next);
    ui->cmdLastGroup->setEnabled(enable.last);
    ui->lblSectionNum->setText(m_paging.groupLine(m_group));
}

void WordPicList::showGroup(int group)
{
    // The buttons are disabled at the ends; a call from elsewhere stays within the list too.
    m_group = std::clamp(group, m_paging.firstGroup(), m_paging.groupNum());
    UpdateGroupButtons();
    LoadPics();
}

void WordPicList::cmdFirstGroup_Click()
{
    showGroup(1);
}

void WordPicList::cmdPrevGroup_Click()
{
    showGroup(m_group - 1);
}

void WordPicList::cmdNextGroup_Click()
{
    showGroup(m_group + 1);
}

void WordPicList::cmdLastGroup_Click()
{
    showGroup(m_paging.groupNum());
}

void WordPicList::cmdReturn_Click()
{
    m_host.ShowUserControl(ViewId::Reader);
}

void WordPicList::imgWord_Click(int Index)
{
    const int word = m_firstIndex + Index;
    const CWordType* record = m_ctx.store.words().word(word);
    if (Index < 0 || Index >= m_paging.countIn(m_group) || !record)
        return;
    m_ctx.sound.PlayWordSound(record->English);
}

void WordPicList::imgWord_DblClick(int Index)
{
    if (Index < 0 || Index >= m_paging.countIn(m_group))
        return;
    m_ctx.store.words().setCurrent(static_cast<std::int16_t>(m_firstIndex + Index));
    m_host.ShowUserControl(ViewId::Reader);
}

int WordPicList::slotOf(QObject* watched, bool* doubleClickOpens) const
{
    for (int k = 0; k < kPicListGroupSize; ++k) {
        const auto i = static_cast<size_t>(k);
        if (watched == m_imgWord[i] || watched == m_lblCh[i] || watched == m_lblWord[i]) {
            // A double click on the English word is two clicks: it has no handler of its own.
            *doubleClickOpens = watched != m_lblWord[i];
            return k;
        }
    }
    return -1;
}

bool WordPicList::eventFilter(QObject* watched, QEvent* event)
{
    bool opens = false;
    const int slot = slotOf(watched, &opens);
    if (slot < 0)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            break;
        if (m_swallowRelease) {
            m_swallowRelease = false;
            return true;
        }
        imgWord_Click(slot);
        return true;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            break;
        if (!opens)
            return false;
        m_swallowRelease = true;
        imgWord_DblClick(slot);
        return true;
    case QEvent::KeyPress: {
        // Space plays the word, Enter opens it, as a click and a double click do.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space) {
            imgWord_Click(slot);
            return true;
        }
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && opens) {
            imgWord_DblClick(slot);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lexora
