// The entry of every test program: the platform's parts the engine cannot
// run without are installed as the game's entry installs them, then the
// tests run.
#include <gtest/gtest.h>

#include "engine/file/file_system.h"
#include "engine/gfx/font.h"
#include "platform/font/font_face.h"
#include "platform/os/posix_file_system.h"

int main(int argc, char** argv) {
    qel::FileSystem::install(&qel::PosixFileSystem::instance());
    qel::Font::setFactory(&qel::FontFace::create);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
