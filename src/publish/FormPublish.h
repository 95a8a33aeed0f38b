#pragma once

#include "publish/PublishAudit.h"

#include <QWidget>
#include <memory>

class QLineEdit;
class QListWidgetItem;

namespace Ui {
class FormPublish;
}

namespace lexora {

class Clipboard;
class FileChooser;
class Prompter;
class ShellOpener;

// The course authors' tool window: checks and copies the media of a word list into the encoded
// form the program reads. The work itself is PublishAudit's; this maps buttons onto it.
class FormPublish final : public QWidget
{
    Q_OBJECT

public:
    struct Services
    {
        Prompter& prompter;
        FileChooser& files;
        Clipboard& clipboard;
        ShellOpener& shell;
    };

    explicit FormPublish(Services services, QWidget* parent = nullptr);
    ~FormPublish() override;

    // Asks for the access code; shows the window when it is right and closes it otherwise.
    bool Form_Load();

private:
    void cmdALL_Click();
    void chooseFolder(QLineEdit* field, const QString& title);
    void cmdCheckAudio_Click();
    void cmdCopyAudio_Click();
    void cmdCopyAllAudio_Click();
    void cmdCheckPic_Click();
    void cmdCopyPic_Click();
    void cmdCopyAllPic_Click();
    void cmdEncrypt_Click();
    void cmdCopy_Click();
    void List1_DblClick(QListWidgetItem* item);

    PublishFolders folders() const;
    // Runs a copy with a progress dialog over the window.
    PublishReport withProgress(PublishReport (PublishAudit::*copy)(const PublishFolders&) const);
    void showReport(const PublishReport& report);
    void say(const QString& text);

    std::unique_ptr<Ui::FormPublish> ui;
    Services m_services;
    PublishAudit m_audit;
};

} // namespace lexora
