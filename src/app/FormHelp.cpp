#include "app/FormHelp.h"

#include "ui_FormHelp.h"

#include <QFile>

namespace lexora {

FormHelp::FormHelp(QString appPicsFolder, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::FormHelp>()), m_folder(std::move(appPicsFolder))
{
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

FormHelp::~FormHelp() = default;

void FormHelp::Load_Help()
{
    loadFile(QStringLiteral("help.txt"));
}

void FormHelp::Load_PPKHelp()
{
    loadFile(QStringLiteral("ppkhelp.txt"));
}

void FormHelp::Load_AppHelp()
{
    loadFile(QStringLiteral("support.txt"));
}

QString FormHelp::shownText() const
{
    return ui->txtHelp->toPlainText();
}

void FormHelp::loadFile(const QString& fileName)
{
    QFile file(m_folder + QLatin1Char('/') + fileName);
    QString text;
    if (file.open(QIODevice::ReadOnly))
        text = QString::fromUtf8(file.readAll());
    ui->txtHelp->setPlainText(text);
    ui->txtHelp->moveCursor(QTextCursor::Start);
}

} // namespace lexora
