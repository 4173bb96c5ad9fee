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

int sound(const std::string& source, const std::string& target) {
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::cerr << source << ": cannot be read\n";
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    qel::tools::SynthSound synth;
    std::string error;
    if (!qel::tools::synthesize(text.str(), synth, &error)) {
        std::cerr << source << ": " << error << "\n";
        return 1;
    }
    const std::vector<std::uint8_t> bytes = qel::tools::encodeOgg(synth);
    std::ofstream out(target, std::ios::binary);
    if (bytes.empty() || !out.write(reinterpret_cast<const char*>(bytes.data()),
                                    static_cast<std::streamsize>(bytes.size()))) {
        std::cerr << target << ": cannot be written\n";
        return 1;
    }
    return 0;
}

int picture(const std::string& source, const std::string& target) {
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::cerr << source << ": cannot be read\n";
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    qel::tools::ChipPicture art;
    std::string error;
    if (!qel::tools::drawChipArt(text.str(), art, error)) {
        std::cerr << source << ": " << error << "\n";
        return 1;
    }
    const std::vector<std::uint8_t> bytes = qel::tools::encodePng(art);
    std::ofstream out(target, std::ios::binary);
    if (bytes.empty() || !out.write(reinterpret_cast<const char*>(bytes.data()),
                                    static_cast<std::streamsize>(bytes.size()))) {
        std::cerr << target << ": cannot be written\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "sound") return sound(args[1], args[2]);
    if (args.size() == 3 && args[0] == "picture") return picture(args[1], args[2]);
    std::cerr << "usage: contentgen sound <description.txt> <out.ogg>\n"
                 "       contentgen picture <description.txt> <out.png>\n";
    return 1;
}
