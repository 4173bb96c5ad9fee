#include "tools/lib/packer.h"

#include <charconv>
#include <filesystem>
#include <ostream>

#include "engine/file/file.h"
#include "game/data/package_reader.h"
#include "game/data/package_writer.h"
#include "tools/lib/chip_art.h"
#include "tools/lib/table_check.h"
#include "tools/lib/text_convert.h"

namespace qel::tools {

namespace {

constexpr const char* kUsage =
    "usage: packer scramble KEY IN OUT\n"
    "       packer unscramble KEY IN OUT\n"
    "       packer package OUT [NAME=]FILE...\n"
    "       packer list PACKAGE\n"
    "       packer scramble-text KEY IN OUT\n"
    "       packer scramble-table KEY IN OUT [CHIPS]\n"
    "       packer package-text OUT [NAME=]FILE...\n"
    "KEY: decimal, 0x-prefixed hexadecimal, or \"file\" for the game's file key\n";

// Copies a whole file from one mode into another.
bool transfer(const std::string& in, int readMode, const std::string& out, int writeMode,
              std::uint32_t key, std::string& error) {
    std::vector<unsigned char> bytes;
    if (!File::readWhole(in, bytes, readMode, key)) {
        error = "cannot read " + in;
        return false;
    }
    File target;
    if (!target.open(out, writeMode, key)) {
        error = "cannot write " + out;
        return false;
    }
    if (!target.write(bytes.data(), bytes.size()) || !target.close()) {
        error = "cannot write " + out;
        return false;
    }
    return true;
}

}  // namespace

bool parseKey(std::string_view text, std::uint32_t& key) {
    if (text == "file") {
        key = FILE_KEY;
        return true;
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty()) return false;
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    key = value;
    return true;
}

bool scrambleFile(std::uint32_t key, const std::string& in, const std::string& out,
                  std::string& error) {
    return transfer(in, File::MODE_READ, out, File::MODE_WRITE_SCRAMBLED, key, error);
}

bool unscrambleFile(std::uint32_t key, const std::string& in, const std::string& out,
                    std::string& error) {
    return transfer(in, File::MODE_READ_SCRAMBLED, out, File::MODE_WRITE, key, error);
}

PackageSource parseSource(std::string_view argument) {
    const std::size_t eq = argument.find('=');
    if (eq == std::string_view::npos) return {std::string(argument), std::string(argument)};
    return {std::string(argument.substr(0, eq)), std::string(argument.substr(eq + 1))};
}

bool writePackage(const std::string& out, const std::vector<PackageSource>& sources,
                  std::string& error) {
    PackageWriter writer;
    if (!writer.open(out)) {
        error = "cannot write " + out;
        return false;
    }
    for (const PackageSource& s : sources) {
        if (!writer.push(s.path, s.name)) {
            error = "cannot read " + s.path;
            writer.discard();  // the old package, if any, stays
            return false;
        }
    }
    if (!writer.close()) {
        error = "cannot write " + out;
        return false;
    }
    return true;
}

namespace {

// The UTF-8 file at `path` in Shift-JIS; false naming the file and line.
bool readConverted(const std::string& path, std::string& text, std::string& error) {
    std::vector<unsigned char> bytes;
    if (!File::readWhole(path, bytes)) {
        error = "cannot read " + path;
        return false;
    }
    std::string converted;
    if (!utf8ToCp932(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                     converted, error)) {
        error = path + ": " + error;
        return false;
    }
    text = std::move(converted);
    return true;
}

}  // namespace

bool scrambleTextFile(std::uint32_t key, const std::string& in, const std::string& out,
                      std::string& error) {
    std::string text;
    if (!readConverted(in, text, error)) return false;
    File target;
    if (!target.open(out, File::MODE_WRITE_SCRAMBLED, key) ||
        !target.write(text.data(), text.size()) || !target.close()) {
        error = "cannot write " + out;
        return false;
    }
    return true;
}

bool scrambleTableFile(std::uint32_t key, const std::string& in, const std::string& out,
                       const std::string& chipArt, std::string& error) {
    ChipPicture sheet;
    if (!chipArt.empty()) {
        std::vector<unsigned char> art;
        if (!File::readWhole(chipArt, art)) {
            error = "cannot read " + chipArt;
            return false;
        }
        if (!drawChipArt(std::string(art.begin(), art.end()), sheet, error)) {
            error = chipArt + ": " + error;
            return false;
        }
    }
    std::vector<unsigned char> bytes;
    if (!File::readWhole(in, bytes)) {
        error = "cannot read " + in;
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!checkTable(text, in, chipArt.empty() ? nullptr : &sheet, error)) return false;
    return scrambleTextFile(key, in, out, error);
}

bool writeTextPackage(const std::string& out, const std::vector<PackageSource>& sources,
                      std::string& error) {
    // Each source converted into a scratch folder, then packed from there.
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path scratch = fs::path(out + ".sources");
    fs::remove_all(scratch, ec);
    fs::create_directories(scratch, ec);
    std::vector<PackageSource> converted;
    bool ok = true;
    for (std::size_t i = 0; i < sources.size() && ok; ++i) {
        std::string text;
        ok = readConverted(sources[i].path, text, error);
        if (ok && sources[i].name.ends_with(".lua") && !checkLuaShortStrings(text, error)) {
            error = sources[i].path + ": " + error;
            ok = false;
        }
        const std::string path = (scratch / std::to_string(i)).string();
        File file;
        if (ok && (!file.open(path, File::MODE_WRITE) || !file.write(text.data(), text.size()) ||
                   !file.close())) {
            error = "cannot write " + path;
            ok = false;
        }
        converted.push_back({sources[i].name, path});
    }
    if (ok) ok = writePackage(out, converted, error);
    fs::remove_all(scratch, ec);
    return ok;
}

bool listPackage(const std::string& path, std::ostream& out, std::string& error) {
    PackageReader reader;
    const bool ok = reader.load(path, &error);
    for (const PackageReader::Entry& e : reader.getEntries()) {
        out << e.size << ' ' << e.name << '\n';
    }
    return ok;
}

int runPacker(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const auto usage = [&err] {
        err << kUsage;
        return 2;
    };
    if (args.empty()) return usage();
    const std::string& command = args[0];
    std::string error;
    bool ok = false;
    if (command == "scramble" || command == "unscramble") {
        if (args.size() != 4) return usage();
        std::uint32_t key = 0;
        if (!parseKey(args[1], key)) {
            err << "packer: bad key " << args[1] << '\n';
            return 2;
        }
        ok = command == "scramble" ? scrambleFile(key, args[2], args[3], error)
                                   : unscrambleFile(key, args[2], args[3], error);
    } else if (command == "package") {
        if (args.size() < 2) return usage();
        std::vector<PackageSource> sources;
        for (std::size_t i = 2; i < args.size(); ++i) sources.push_back(parseSource(args[i]));
        ok = writePackage(args[1], sources, error);
    } else if (command == "scramble-text") {
        if (args.size() != 4) return usage();
        std::uint32_t key = 0;
        if (!parseKey(args[1], key)) {
            err << "packer: bad key " << args[1] << '\n';
            return 2;
        }
        ok = scrambleTextFile(key, args[2], args[3], error);
    } else if (command == "scramble-table") {
        if (args.size() != 4 && args.size() != 5) return usage();
        std::uint32_t key = 0;
        if (!parseKey(args[1], key)) {
            err << "packer: bad key " << args[1] << '\n';
            return 2;
        }
        ok = scrambleTableFile(key, args[2], args[3], args.size() == 5 ? args[4] : "", error);
    } else if (command == "package-text") {
        if (args.size() < 2) return usage();
        std::vector<PackageSource> sources;
        for (std::size_t i = 2; i < args.size(); ++i) sources.push_back(parseSource(args[i]));
        ok = writeTextPackage(args[1], sources, error);
    } else if (command == "list") {
        if (args.size() != 2) return usage();
        ok = listPackage(args[1], out, error);
    } else {
        return usage();
    }
    if (!ok) err << "packer: " << error << '\n';
    return ok ? 0 : 1;
}

}  // namespace qel::tools
