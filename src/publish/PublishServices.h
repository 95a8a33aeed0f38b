#pragma once

#include <QString>

class QWidget;

namespace lexora {

// The open-file and folder dialogs of the publishing tool. Both return an empty text when the
// author cancels.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    virtual QString openFile(const QString& title) = 0;
    virtual QString openFolder(const QString& title) = 0;
};

// The system clipboard, plain text only.
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0;
};

class QtFileChooser final : public FileChooser
{
public:
    explicit QtFileChooser(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    QString openFile(const QString& title) override;
    QString openFolder(const QString& title) override;

private:
    QWidget* m_parent;
};

class QtClipboard final : public Clipboard
{
public:
    void setText(const QString& text) override;
};

} // namespace lexora
