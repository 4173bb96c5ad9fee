// C.Localize as scripts use it: the language's script runs in the state
// that asked, and no language name is no failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/system/sys_main.h"
#include "tests/bindings/bound_lua.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

class LocalizeBindings : public BoundLua {
protected:
    void SetUp() override {
        BoundLua::SetUp();
        fs::current_path(scratch_.path());
        fs::create_directories("data/locale/en");
        fs::create_directories("data/locale/bad");
        std::ofstream("data/locale/en/locale.lua") << "FROM_LOCALE = (FROM_LOCALE or 0) + 1\n";
        std::ofstream("data/locale/bad/locale.lua") << "FROM_LOCALE = \n";
    }
    void TearDown() override {
        qel::SysMain::instance().quitFlag() = false;
        fs::current_path(fs::temp_directory_path());
        BoundLua::TearDown();
    }

    qel::test::ScratchFolder scratch_;
    qel::test::MessageBoxRecorder boxes_;
};

const lua_runner::LuaCase kLocalizeCases[] = {
    {"nil names no language",
     "local l = C.Localize() return l:exec_lua(nil), l:exec_data(nil), FROM_LOCALE",
     "true, true, nil"},
    {"the script runs in the calling state",
     "local l = C.Localize() return l:exec_lua('en'), FROM_LOCALE", "true, 1"},
    {"a language without tables applies nothing", "return C.Localize():exec_data('en')", "true"},
    {"a name leaving the folder runs nothing", "return C.Localize():exec_lua('../locale/en')",
     "true"},
    {"a missing language", "return C.Localize():exec_lua('fr')", "true"},
    {"a script error answers false", "return C.Localize():exec_lua('bad')", "false"},
    {"made and deleted", "local l = C.Localize:new() l:delete() return 1", "1"},
    {"a nil self", "return C.Localize.exec_lua(nil, 'en')",
     "error: invalid 'self' in function 'exec_lua'"},
};

TEST_F(LocalizeBindings, Snippets) {
    runAll(kLocalizeCases);
    ASSERT_EQ(boxes_.boxes().size(), 1u);
    EXPECT_EQ(boxes_.boxes()[0].text, "locale.lua error");
    EXPECT_TRUE(qel::SysMain::instance().isQuit());
}

}  // namespace
