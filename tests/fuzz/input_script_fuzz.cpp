// The scripted keyboard over any text: a script is read whole or refused
// with a reason naming a line; a read script plays frames without touching
// a key code outside the table, and a failed wait ends the run (exit code
// 2) instead of going on. Shots and dumps have no device or game here and
// fail the same way.
#include <string>

#include "engine/system/sys_main.h"
#include "platform/dev/input_script.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    qel::InputScript script(nullptr);
    std::string error;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!script.parse(text, &error)) {
        require(error.starts_with("input script line "), "a refusal names its line");
        return 0;
    }
    qel::SysMain& app = qel::SysMain::instance();
    for (int frame = 0; frame < 64 && !script.finished() && !app.isQuit(); ++frame) {
        qel::InputSnapshot snapshot;
        script.readInput(snapshot);
        require(snapshot.foreground, "a scripted frame is in the foreground");
    }
    if (app.isQuit()) require(app.exitCode() == 2, "a failed line ends with exit code 2");
    app.quitFlag() = false;
    app.setExitCode(0);
    return 0;
}
