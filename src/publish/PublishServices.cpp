#include "publish/PublishServices.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>

namespace lexora {

QString QtFileChooser::openFile(const QString& title)
{
    return QFileDialog::getOpenFileName(m_parent, title);
}

QString QtFileChooser::openFolder(const QString& title)
{
    return QFileDialog::getExistingDirectory(m_parent, title);
}

void QtClipboard::setText(const QString& text)
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

} // namespace lexora
