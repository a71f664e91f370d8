#pragma once
// A test with an Application of its own: a test folder holding the program
// folder (with the language files the test writes) and a settings file.

#include <gtest/gtest.h>

#include <string>

#include "app/Application.h"
#include "support/ScriptedServices.h"
#include "support/TestFolder.h"

namespace lumetra::test {

class AppFixture : public ::testing::Test {
  protected:
    TestFolder dir;
    ScriptedServices services;
    Application app{services, dir / "program", dir / "docs"};

    // Writes the language file and a settings file that chooses it.
    void useLanguage(const std::string& fileText, const std::string& name = "English") {
        writeLanguageFile(dir / "program", name, fileText);
        dir.write("config/Settings.ini", "[Main]\nLanguage=" + name + "\n");
        app.settings.setSettingsFile(dir / "config" / "Settings.ini");
    }
};

}  // namespace lumetra::test
