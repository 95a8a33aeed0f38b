#pragma once

#include "CourseFixture.h"
#include "FakePrompter.h"
#include "ScriptedRandom.h"
#include "store/WordStore.h"

#include <gtest/gtest.h>

namespace lexora::test {

// A word store over a fixture course; tests change `course` before calling open().
class StoreTest : public ::testing::Test
{
protected:
    StoreTest() : course(CourseFixture::standard()) {}

    bool open(bool loadSettings = true)
    {
        if (!course.build())
            return false;
        store = std::make_unique<WordStore>(course.programFolder(), prompter, random);
        fatals = 0;
        store->setFatalHandler([this] { ++fatals; });
        return !loadSettings || store->LoadSettings();
    }
    std::vector<QString> englishOfList() const
    {
        std::vector<QString> out;
        for (int i = 0; i < store->words().count(); ++i)
            out.push_back(store->words().records()[static_cast<size_t>(i)].English);
        std::sort(out.begin(), out.end());
        return out;
    }

    CourseFixture course;
    FakePrompter prompter;
    ScriptedRandom random;
    std::unique_ptr<WordStore> store;
    int fatals = 0;
};

} // namespace lexora::test
