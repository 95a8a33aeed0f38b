#pragma once

#include "ui/ViewContext.h"
#include "views/PicListPaging.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

class QLabel;

namespace Ui {
class WordPicList;
}

namespace lexora {

class ViewHost;

// The words of the current list as pictures, eight at a time: a click plays a word, a double click
// opens it in the reader.
class WordPicList final : public QWidget
{
    Q_OBJECT
public:
    WordPicList(const ViewContext& context, ViewHost& host, QWidget* parent = nullptr);
    ~WordPicList() override;

    void InitWordPicList();
    void LoadPics();

    void cmdFirstGroup_Click();
    void cmdPrevGroup_Click();
    void cmdNextGroup_Click();
    void cmdLastGroup_Click();
    void cmdReturn_Click();
    // The picture, the English word and the Chinese meaning of a slot share these.
    void imgWord_Click(int Index);
    void imgWord_DblClick(int Index);

    int iGroup() const { return m_group; }
    int iFirstIndex() const { return m_firstIndex; }
    const PicListPaging& paging() const { return m_paging; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateGroupButtons();
    void showGroup(int group);
    void setFonts();
    void fillSlot(int slot, int wordIndex);
    int slotOf(QObject* watched, bool* doubleClickOpens) const;

    std::unique_ptr<Ui::WordPicList> ui;
    ViewContext m_ctx;
    ViewHost& m_host;
    std::array<QLabel*, kPicListGroupSize> m_imgWord{};
    std::array<QLabel*, kPicListGroupSize> m_lblCh{};
    std::array<QLabel*, kPicListGroupSize> m_lblWord{};
    PicListPaging m_paging{0};
    int m_group = 0;
    int m_firstIndex = 0;
    // The release that ends a double click is not a click of its own.
    bool m_swallowRelease = false;
};

} // namespace lexora
