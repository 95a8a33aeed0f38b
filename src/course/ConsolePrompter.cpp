#include "course/ConsolePrompter.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace lexora {

Prompter::Answer ConsolePrompter::message(const QString& text, const QString& title, Buttons buttons, Icon)
{
    std::fprintf(stderr, "[%s] %s\n", qUtf8Printable(title), qUtf8Printable(text));
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
}

std::optional<QString> ConsolePrompter::input(const QString& prompt, const QString& title, const QString&)
{
    if (!m_readsInput) {
        std::fprintf(stderr, "[%s] %s (no answer)\n", qUtf8Printable(title), qUtf8Printable(prompt));
        return std::nullopt;
    }
    std::fprintf(stderr, "%s ", qUtf8Printable(prompt));
    std::fflush(stderr);
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    return QString::fromStdString(line);
}

} // namespace lexora
