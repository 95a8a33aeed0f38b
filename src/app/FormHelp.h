#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class FormHelp;
}

namespace lexora {

// Shows one of the help texts kept in the program's AppPics folder. The caller loads a text, then
// shows the dialog modally; each load replaces what was shown before.
class FormHelp final : public QDialog
{
    Q_OBJECT
public:
    explicit FormHelp(QString appPicsFolder, QWidget* parent = nullptr);
    ~FormHelp() override;

    void Load_Help();
    void Load_PPKHelp();
    void Load_AppHelp();

    QString shownText() const;

private:
    // A missing or unreadable file shows an empty box.
    void loadFile(const QString& fileName);

    std::unique_ptr<Ui::FormHelp> ui;
    QString m_folder;
};

} // namespace lexora
