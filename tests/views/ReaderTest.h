#pragma once

#include "ViewTestKit.h"
#include "views/ClockTimer.h"
#include "views/Lexivo.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>
#include <optional>

namespace lexora::test {

// A reader over a one-unit course, shown on its first word.
class ReaderTest : public ::testing::Test
{
protected:
    // Every word gets a picture and a voice (word i the voice of seed i + 1), or only those listed.
    bool open(const QStringList& words, std::optional<QStringList> withMedia = std::nullopt)
    {
        world = std::make_unique<ViewWorld>(ViewWorld::courseOf(words));
        for (int i = 0; i < words.size(); ++i) {
            if (withMedia && !withMedia->contains(words[i]))
                continue;
            world->addPicture(words[i]);
            world->addVoice(words[i], i + 1);
        }
        if (!world->open())
            return false;
        reader = std::make_unique<Lexivo>(world->program->context(), world->host);
        reader->InitUserControl();
        reader->bReaderShown = true;
        reader->ChangeWord(0);
        return true;
    }
    template <class T> T* child(const char* name) const { return reader->findChild<T*>(QLatin1String(name)); }
    QString text(const char* name) const { return child<QLabel>(name)->text(); }
    QString wordNum() const { return text("lblWordNum"); }
    WordStore& store() { return world->program->store; }
    size_t plays() const { return world->soundOut.played.size(); }
    void click(const char* name) { child<QPushButton>(name)->click(); }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<Lexivo> reader;
};

QStringList Words(int n);

} // namespace lexora::test
