#include "publish/FormPublish.h"

#include "media/ShellOpener.h"
#include "publish/PublishEncode.h"
#include "publish/PublishExport.h"
#include "publish/PublishServices.h"
#include "store/Prompter.h"
#include "ui_FormPublish.h"

#include <QListWidgetItem>
#include <QProgressDialog>

namespace lexora {

namespace {

const QString kTitle = QStringLiteral("Lexora 发布工具");
const QString kCjkFamily = QStringLiteral("Noto Sans CJK SC");

// Folder fields end with the separator, as a chosen folder always did.
QString folderField(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

FormPublish::FormPublish(Services services, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::FormPublish>()), m_services(services)
{
    ui->setupUi(this);
    // Named outright: fallback would pick Japanese glyph shapes for the captions.
    setFont(QFont(kCjkFamily, 10));
    QFont listFont;
    listFont.setFamilies({QStringLiteral("Arial"), kCjkFamily});
    listFont.setPointSize(12);
    ui->List1->setFont(listFont);

    connect(ui->cmdALL, &QPushButton::clicked, this, &FormPublish::cmdALL_Click);
    const std::pair<QPushButton*, QLineEdit*> choosers[] = {
        {ui->cmdPicSrc, ui->txtPicSrc},       {ui->cmdPicDest, ui->txtPicDest},
        {ui->cmdAudioSrc1, ui->txtAudioSrc1}, {ui->cmdAudioSrc2, ui->txtAudioSrc2},
        {ui->cmdAudioDest, ui->txtAudioDest},
    };
    for (const auto& [button, field] : choosers) {
        connect(button, &QPushButton::clicked, this,
                [this, button, field] { chooseFolder(field, button->text()); });
    }
    connect(ui->cmdCheckAudio, &QPushButton::clicked, this, &FormPublish::cmdCheckAudio_Click);
    connect(ui->cmdCopyAudio, &QPushButton::clicked, this, &FormPublish::cmdCopyAudio_Click);
    connect(ui->cmdCopyAllAudio, &QPushButton::clicked, this, &FormPublish::cmdCopyAllAudio_Click);
    connect(ui->cmdCheckPic, &QPushButton::clicked, this, &FormPublish::cmdCheckPic_Click);
    connect(ui->cmdCopyPic, &QPushButton::clicked, this, &FormPublish::cmdCopyPic_Click);
    connect(ui->cmdCopyAllPic, &QPushButton::clicked, this, &FormPublish::cmdCopyAllPic_Click);
    connect(ui->cmdEncrypt, &QPushButton::clicked, this, &FormPublish::cmdEncrypt_Click);
    connect(ui->cmdCopy, &QPushButton::clicked, this, &FormPublish::cmdCopy_Click);
    connect(ui->List1, &QListWidget::itemDoubleClicked, this, &FormPublish::List1_DblClick);
}

FormPublish::~FormPublish() = default;

bool FormPublish::Form_Load()
{
    if (!AskAccessCode(m_services.prompter, kTitle)) {
        close();
        return false;
    }
    show();
    return true;
}

void FormPublish::cmdALL_Click()
{
    const QString path = m_services.files.openFile(ui->cmdALL->text());
    if (path.isEmpty())
        return;
    ui->txtWordFile->setText(path);
    if (!m_audit.LoadAllWords(path)) {
        say(QStringLiteral("无法读取单词文件：") + path);
        return;
    }
    ui->List1->clear();
    ui->List1->addItems(m_audit.words());
}

void FormPublish::chooseFolder(QLineEdit* field, const QString& title)
{
    const QString folder = m_services.files.openFolder(title);
    if (!folder.isEmpty())
        field->setText(folderField(folder));
}

void FormPublish::cmdCheckAudio_Click()
{
    showReport(m_audit.checkAudio(folders()));
}

PublishReport FormPublish::withProgress(PublishReport (PublishAudit::*copy)(const PublishFolders&) const)
{
    // Shown only when a copy takes a while; a modal dialog lets the window repaint in between.
    QProgressDialog dialog(QStringLiteral("正在复制，请稍候……"), QString(), 0, 0, this);
    dialog.setWindowTitle(kTitle);
    dialog.setAccessibleName(QStringLiteral("复制进度"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(500);
    m_audit.setProgress([&dialog](int done, int total) {
        dialog.setMaximum(total);
        dialog.setValue(done);
    });
    PublishReport report = (m_audit.*copy)(folders());
    m_audit.setProgress({});
    return report;
}

void FormPublish::cmdCopyAudio_Click()
{
    showReport(withProgress(&PublishAudit::copyAudio));
}

void FormPublish::cmdCopyAllAudio_Click()
{
    showReport(withProgress(&PublishAudit::copyAllAudio));
}

void FormPublish::cmdCheckPic_Click()
{
    showReport(m_audit.checkPics(folders()));
}

void FormPublish::cmdCopyPic_Click()
{
    showReport(withProgress(&PublishAudit::copyPics));
}

void FormPublish::cmdCopyAllPic_Click()
{
    showReport(withProgress(&PublishAudit::copyAllPics));
}

void FormPublish::cmdEncrypt_Click()
{
    const QString path = m_services.files.openFile(ui->cmdEncrypt->text());
    if (path.isEmpty())
        return;
    say(ToggleFileHead(path) ? QStringLiteral("OK") : QStringLiteral("文件无法加解密：") + path);
}

void FormPublish::cmdCopy_Click()
{
    QStringList items;
    for (int row = 0; row < ui->List1->count(); ++row)
        items.append(ui->List1->item(row)->text());
    m_services.clipboard.setText(ClipboardText(items));
    say(QStringLiteral("OK"));
}

void FormPublish::List1_DblClick(QListWidgetItem* item)
{
    if (!item)
        return;
    const QString word = item->text().trimmed();
    m_services.clipboard.setText(word);
    m_services.shell.openUrl(ImageSearchUrl(word));
    delete item;
}

PublishFolders FormPublish::folders() const
{
    return {ui->txtPicSrc->text(), ui->txtPicDest->text(), ui->txtAudioSrc1->text(), ui->txtAudioSrc2->text(),
            ui->txtAudioDest->text()};
}

void FormPublish::showReport(const PublishReport& report)
{
    ui->lblItemNum->setText(report.status);
    switch (report.listUpdate) {
    case PublishReport::ListUpdate::Replace:
        ui->List1->clear();
        ui->List1->addItems(report.items);
        break;
    case PublishReport::ListUpdate::Append:
        ui->List1->addItems(report.items);
        break;
    case PublishReport::ListUpdate::Keep:
        break;
    }
    say(report.message);
}

void FormPublish::say(const QString& text)
{
    m_services.prompter.message(text, kTitle);
}

} // namespace lexora
