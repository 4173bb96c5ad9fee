// The content generator's command line: makes the game's generated
// content from the plain sources in content/ at build time.
//
//   contentgen sound <description.txt> <out.ogg>
//   contentgen picture <description.txt> <out.png>
//
// Exit status 0 on success; 1 with the reason (naming the source file and
// line) on the error output.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/lib/chip_art.h"
#include "tools/lib/sound_synth.h"

namespace {

// Reads the description, turns it into the file's bytes (false, with the
// reason, when the description is refused) and writes them.
using Maker = bool (*)(const std::string& text, std::vector<std::uint8_t>& bytes,
                       std::string& error);

int generate(const std::string& source, const std::string& target, Maker make) {
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::cerr << source << ": cannot be read\n";
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    std::vector<std::uint8_t> bytes;
    if (!make(text.str(), bytes, error)) {
        std::cerr << source << ": " << error << "\n";
        return 1;
    }
    std::ofstream out(target, std::ios::binary);
    if (bytes.empty() || !out.write(reinterpret_cast<const char*>(bytes.data()),
                                    static_cast<std::streamsize>(bytes.size()))) {
        std::cerr << target << ": cannot be written\n";
        return 1;
    }
    return 0;
}

bool makeSound(const std::string& text, std::vector<std::uint8_t>& bytes, std::string& error) {
    qel::tools::SynthSound synth;
    if (!qel::tools::synthesize(text, synth, &error)) return false;
    bytes = qel::tools::encodeOgg(synth);
    return true;
}

bool makePicture(const std::string& text, std::vector<std::uint8_t>& bytes, std::string& error) {
    qel::tools::ChipPicture art;
    if (!qel::tools::drawChipArt(text, art, error)) return false;
    bytes = qel::tools::encodePng(art);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "sound") return generate(args[1], args[2], &makeSound);
    if (args.size() == 3 && args[0] == "picture") return generate(args[1], args[2], &makePicture);
    std::cerr << "usage: contentgen sound <description.txt> <out.ogg>\n"
                 "       contentgen picture <description.txt> <out.png>\n";
    return 1;
}
