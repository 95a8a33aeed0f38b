#pragma once

#include <QObject>
#include <QString>
#include <array>

class QAbstractButton;
class QLabel;
class QRadioButton;
class QWidget;

namespace lexora {

// The choices of a quiz for small hands and for the keyboard: the whole row of a choice (circle and
// text) takes the click, the circle is drawn large, keys 1 to 4 (shown beside the choices) pick a
// choice and Enter confirms.
class ChoiceKeys final : public QObject
{
    Q_OBJECT
public:
    ChoiceKeys(QWidget& owner, const std::array<QRadioButton*, 4>& choices, QAbstractButton& confirm);

    // The choice a key picks (0 to 3), or -1 for any other key.
    static int ChoiceForKey(int key);
    // What a screen reader calls choice k: its key and its text.
    static QString ChoiceName(int k, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static QLabel* keyHint(QRadioButton& choice, int k);
    bool pick(int index);
    bool keyPress(int key);

    std::array<QRadioButton*, 4> m_choices;
    // The digit shown beside each choice.
    std::array<QLabel*, 4> m_hints{};
    QAbstractButton& m_confirm;
};

} // namespace lexora
