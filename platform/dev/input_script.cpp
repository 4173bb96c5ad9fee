#include "platform/dev/input_script.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "engine/core/log.h"
#include "engine/gfx/graphics_device.h"
#include "engine/input/input_ime.h"
#include "engine/input/key_code.h"
#include "engine/system/dev_probes.h"
#include "engine/system/sys_main.h"
#include "engine/system/window.h"
#include "platform/gfx/png_writer.h"
#include "platform/os/cp932.h"

namespace qel {
namespace {

const std::map<std::string, int>& namedKeys() {
    static const std::map<std::string, int> keys = {
        {"Backspace", KEY_BACK}, {"Tab", KEY_TAB},       {"Enter", KEY_RETURN},
        {"Shift", KEY_SHIFT},    {"Ctrl", KEY_CONTROL},  {"Alt", KEY_MENU},
        {"Escape", KEY_ESCAPE},  {"Space", KEY_SPACE},   {"PageUp", KEY_PRIOR},
        {"PageDown", KEY_NEXT},  {"End", KEY_END},       {"Home", KEY_HOME},
        {"Left", KEY_LEFT},      {"Up", KEY_UP},         {"Right", KEY_RIGHT},
        {"Down", KEY_DOWN},      {"Insert", KEY_INSERT}, {"Delete", KEY_DELETE},
    };
    return keys;
}

// The editing keys as the text entry reads them (the window sends these
// when such a key goes down); 0 for any other key.
int textCode(int key) {
    switch (key) {
        case KEY_BACK:
            return InputIME::kBackspace;
        case KEY_TAB:
            return InputIME::kTab;
        case KEY_RETURN:
            return InputIME::kEnter;
        case KEY_ESCAPE:
            return InputIME::kEscape;
        case KEY_RIGHT:
            return InputIME::kRight;
        case KEY_LEFT:
            return InputIME::kLeft;
        case KEY_DELETE:
            return InputIME::kDelete;
        default:
            return 0;
    }
}

bool isNumber(const std::string& word) {
    if (word.empty()) return false;
    for (const char c : word)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

int InputScript::keyCode(const std::string& name) {
    if (const auto it = namedKeys().find(name); it != namedKeys().end()) return it->second;
    // Letters, digits, the number pad's digits and F1 to F12 have codes in a row.
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return KEY_A + (name[0] - 'A');
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return KEY_0 + (name[0] - '0');
    if (name.size() == 7 && name.starts_with("Numpad") && name[6] >= '0' && name[6] <= '9')
        return KEY_NUMPAD0 + (name[6] - '0');
    if (name.size() >= 2 && name[0] == 'F' && isNumber(name.substr(1))) {
        const int n = std::atoi(name.c_str() + 1);
        if (n >= 1 && n <= 12) return KEY_F1 + (n - 1);
    }
    return -1;
}

bool InputScript::load(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = "cannot open the input script " + path;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    return parse(text.str(), error);
}

bool InputScript::parse(const std::string& text, std::string* error) {
    lines_.clear();
    next_ = 0;
    std::istringstream in(text);
    std::string raw;
    for (int number = 1; std::getline(in, raw); ++number) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::istringstream words(raw);
        Line line;
        line.number = number;
        if (!(words >> line.command) || line.command[0] == '#') continue;
        const std::size_t at = raw.find(line.command) + line.command.size();
        line.rest = raw.substr(std::min(raw.find_first_not_of(" \t", at), raw.size()));
        for (std::string word; words >> word;) line.words.push_back(word);
        auto bad = [&](const std::string& why) {
            if (error) *error = "input script line " + std::to_string(number) + ": " + why;
            return false;
        };
        const std::string& c = line.command;
        const std::size_t n = line.words.size();
        if (c == "press" || c == "hold" || c == "release") {
            if (n != 1 || keyCode(line.words[0]) < 0) return bad("not a key: " + line.rest);
        } else if (c == "wait") {
            if (n != 1 || !isNumber(line.words[0])) return bad("wait takes a number of frames");
        } else if (c == "until") {
            if (n < 2 || !isNumber(line.words[0]))
                return bad("until takes a frame limit and a probe");
        } else if (c == "shot" || c == "dump" || c == "texts") {
            if (line.rest.empty()) return bad(c + " takes a file name");
        } else if (c == "type") {
            if (line.rest.empty()) return bad("type takes a text");
        } else if (c == "compose") {
            // An empty composition clears it.
        } else if (c != "close") {
            return bad("unknown command " + c);
        }
        lines_.push_back(std::move(line));
    }
    return true;
}

void InputScript::fail(const Line& line, const std::string& why) {
    logMessage("input script line %d: %s", line.number, why.c_str());
    SysMain::instance().setExitCode(2);
    SysMain::instance().requestQuit();
    stopped_ = true;
    held_.clear();
}

void InputScript::step() {
    if (!started_) {
        // What the run shows is kept from its first frame on for `texts`
        // (a game that records nothing answers null: nothing to keep).
        started_ = true;
        DevProbes::run("record texts", "");
    }
    while (!stopped_ && next_ < lines_.size()) {
        const Line& line = lines_[next_];
        const std::string& c = line.command;
        if (c == "press") {
            const int key = keyCode(line.words[0]);
            tapped_.insert(key);
            // As the window does: the editing keys reach the text entry too
            // (which takes them only while it is open).
            if (const int code = textCode(key)) Window::instance().onTextKey(code);
            ++next_;
            return;  // one press a frame, so each is a fresh trigger
        }
        if (c == "hold") {
            held_.insert(keyCode(line.words[0]));
        } else if (c == "release") {
            held_.erase(keyCode(line.words[0]));
        } else if (c == "wait") {
            if (waitFrames_ < std::atoi(line.words[0].c_str())) {
                ++waitFrames_;
                return;
            }
        } else if (c == "until") {
            const std::string argument =
                line.words.size() > 2
                    ? line.rest.substr(line.rest.find(line.words[1]) + line.words[1].size() + 1)
                    : "";
            const std::optional<bool> holds = DevProbes::ask(line.words[1], argument);
            if (!holds) return fail(line, "no probe named " + line.words[1]);
            if (!*holds) {
                if (waitFrames_ >= std::atoi(line.words[0].c_str()))
                    return fail(line, "waited " + line.words[0] + " frames for " + line.words[1] +
                                          (argument.empty() ? "" : " " + argument));
                ++waitFrames_;
                return;
            }
        } else if (c == "shot") {
            GraphicsDevice* device = SysMain::instance().device();
            if (!device || !PngWriter::write(device->backBuffer(), line.rest))
                return fail(line, "cannot write " + line.rest);
        } else if (c == "dump" || c == "texts") {
            const std::optional<bool> done = DevProbes::run(c, line.rest);
            if (!done || !*done) return fail(line, "cannot write " + c + " to " + line.rest);
        } else if (c == "close") {
            Window::instance().postRequest(Window::Request::Close);
        } else if (c == "type") {
            // A commit of the input method: refused whole when a character
            // has no Shift-JIS form, as the window refuses it.
            std::string sjis;
            Window::instance().onTextCommit(Cp932::fromUtf8Strict(line.rest, sjis) ? sjis.c_str()
                                                                                   : nullptr);
        } else if (c == "compose") {
            std::string sjis;
            if (!Cp932::fromUtf8Strict(line.rest, sjis)) sjis.clear();
            Window::instance().onTextComposition(sjis, static_cast<int>(sjis.size()));
        }
        waitFrames_ = 0;
        ++next_;
    }
}

void InputScript::readInput(InputSnapshot& out) {
    if (window_) window_->readInput(out);
    tapped_.clear();
    step();
    out.foreground = true;
    for (const int key : held_) out.keys[key] = 0x80;
    for (const int key : tapped_) out.keys[key] = 0x80;
}

}  // namespace qel
