// The data packer: turns plain sources into the game's scrambled data
// files with the engine's own file and scrambler code, so what it writes is
// exactly what the game reads.
//
//   packer scramble KEY IN OUT     IN scrambled with KEY, written to OUT
//   packer unscramble KEY IN OUT   IN descrambled with KEY, written to OUT
//   packer package OUT ENTRY...    a script package of the entries, in order;
//                                  ENTRY is FILE (named FILE) or NAME=FILE
//   packer list PACKAGE            each entry's size and name, one a line
//   packer scramble-text KEY IN OUT
//   packer package-text OUT ENTRY...
//                                  the same for UTF-8 sources: converted to
//                                  Shift-JIS first (strictly; a failure names
//                                  the file and line), and the package's Lua
//                                  sources checked (text_convert.h)
//   packer scramble-table KEY IN OUT [CHIPS]
//                                  scramble-text of a data table whose rows
//                                  match its header and whose chips the chip
//                                  sheet drawn from CHIPS (chip_art.h) has
//                                  (table_check.h)
//
// KEY is decimal, hexadecimal with 0x, or "file" for the game's file key.
// OUT is replaced only when everything was written; on any failure the old
// OUT stays as it was and the exit status is 1 (2 for a usage error).
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace qel::tools {

bool parseKey(std::string_view text, std::uint32_t& key);

bool scrambleFile(std::uint32_t key, const std::string& in, const std::string& out,
                  std::string& error);
bool unscrambleFile(std::uint32_t key, const std::string& in, const std::string& out,
                    std::string& error);

struct PackageSource {
    std::string name;  // the entry name stored in the package
    std::string path;  // where the bytes come from
};
// "NAME=FILE" or "FILE" (then the name is FILE as given).
PackageSource parseSource(std::string_view argument);
bool writePackage(const std::string& out, const std::vector<PackageSource>& sources,
                  std::string& error);
bool listPackage(const std::string& path, std::ostream& out, std::string& error);
bool scrambleTextFile(std::uint32_t key, const std::string& in, const std::string& out,
                      std::string& error);
// `chipArt` empty: no chip sheet to check the chips against.
bool scrambleTableFile(std::uint32_t key, const std::string& in, const std::string& out,
                       const std::string& chipArt, std::string& error);
bool writeTextPackage(const std::string& out, const std::vector<PackageSource>& sources,
                      std::string& error);

// The whole command line after the program name; returns the exit status.
int runPacker(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace qel::tools
