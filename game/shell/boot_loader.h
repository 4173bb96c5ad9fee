// The boot: what the title scene's loader thread does before the game can
// start. It runs the optional config.txt, opens the script interface, runs
// the script package, loads the definition tables, applies the language,
// and puts the version into the window title.
//
// What it keeps true:
//   - It never ends the process. A failed data file (a tested table, or
//     the script package missing or damaged) shows the one data-failure
//     box, writes the detailed reason to the log, stops the boot and is
//     reported as Failed; the game thread then quits in order.
//   - Lua belongs to the boot while it runs: cancel() (any thread) is seen
//     between steps and between package chunks, and a running chunk is
//     ended by a count hook, so the thread that owns the boot can always
//     join it promptly.
//   - Each table is loaded by one line of run(), in the fixed order.
#pragma once

#include <atomic>
#include <string>

struct lua_State;
struct lua_Debug;

class BootLoader {
public:
    enum class Result { Running, Done, Failed, Cancelled };

    // The texts the boot shows.
    static constexpr const char* kDataFailureText = "データファイルの読み込みに失敗しました";
    static constexpr const char* kDataFailureCaption = "エラー";
    static constexpr const char* kConfigFailureText = "config read error";
    static constexpr const char* kConfigFile = "config.txt";
    // Window titles keep this many bytes, whole characters only.
    static constexpr std::size_t kTitleBytes = 64;

    // Opens the script interface on a state (the bindings' routine; the
    // program's entry installs it): 1 on success.
    using OpenInterface = int (*)(lua_State* L, std::string* error);
    static void setScriptInterface(OpenInterface open);

    // The whole boot, on the calling thread; returns Done, Failed or
    // Cancelled (also stored, readable from any thread through result()).
    Result run();
    void cancel();
    bool isCancelled() const { return cancelled_.load(); }
    Result result() const { return result_.load(); }
    // The detailed reason of a failure.
    const std::string& failure() const { return failure_; }

    // A boot is running on some thread (the script package may be running):
    // the game's tasks, scenes and sound are not the scripts' to touch yet.
    static bool isBooting();

    // The window title with the version: `current` + " - Ver" + VERSION.
    static std::string versionTitle(const char* current);

private:
    bool stop() const { return cancelled_.load(); }
    // Shows the box and keeps the reason; always false.
    bool fail(const std::string& reason);
    bool runConfig();
    bool runPackage();
    bool loadTables();
    static void cancelHook(lua_State* L, lua_Debug* ar);

    std::atomic<bool> cancelled_{false};
    std::atomic<Result> result_{Result::Running};
    std::string failure_;
};
