// The whole boot in process on a synthetic full-size data set: 300 actions,
// 300 spells, 300 skills, 500 items, 300 monsters, 200 anima and 300 KB of
// scripts, written scrambled as the packer writes them, in a folder of its
// own (goal: under 150 ms in a release build).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/file/file.h"
#include "engine/file/file_system.h"
#include "engine/script/sys_lua.h"
#include "game/data/data_files.h"
#include "game/data/package_writer.h"
#include "game/shell/boot_loader.h"
#include "platform/os/posix_file_system.h"

namespace {

void writeScrambled(const std::string& path, const std::string& text) {
    qel::File file(path, qel::File::MODE_WRITE_SCRAMBLED, qel::FILE_KEY);
    file.write(text.data(), text.size());
    file.close();
}

std::string actions(int n) {
    std::string text =
        "name,tag,luaFunc,type,target,ai,range,mana,ap,difficulty,mouse,eyes,msg,"
        "p0,p1,p2,p3,p4,p5,p6,p7,exp,\n";
    for (int i = 0; i < n; ++i) {
        text += "Act" + std::to_string(i) + ",a" + std::to_string(i) +
                ",ActAttack,0,0x1,attack,1,0,100,0,0,0,%s acts,0,0,0,0,0,0,0,0,text,\n";
    }
    return text;
}

std::string spells(int n) {
    std::string text = "name,tag,action,action,action,\n";
    for (int i = 0; i < n; ++i) {
        text += "Spell" + std::to_string(i) + ",s" + std::to_string(i) + ",a" + std::to_string(i) +
                ",,\n";
    }
    return text;
}

std::string items(int n) {
    std::string text = "id,header\n";
    for (int i = 0; i < n; ++i) {
        text += std::to_string(i + 1) + ",0,item" + std::to_string(i) +
                ",-,,13,0x10,0x00FF00,,1,0,ko,1,1,0,0,0,1,0,0,0,0,0,0,,,0x0,0x0,0x0,1,1,0,0,0,1,0,"
                "0,0,0,0,0,0,0,0,0,0,,1d6,0,0,0,0,0,0,0,text,\n";
    }
    return text;
}

std::string skills(int n) {
    std::string text =
        "id,name,tag,luaClass,library,type,levelMax,l1tag,l1type,l2tag,l2type,l2sp,l3tag,l3type,"
        "l3sp,l4tag,l4type,l4sp,l5tag,l5type,l5sp,l6tag,l6type,l6sp,l7tag,l7type,l7sp,l8tag,"
        "l8type,l8sp,l9tag,l9type,l9sp,\n";
    for (int i = 0; i < n; ++i) {
        text += std::to_string(i + 1) + ",Skill" + std::to_string(i) + ",k" + std::to_string(i) +
                ",SkillWeapon,0,2,2,mastery,0,expert,0,2,,0,0,,0,0,,0,0,,0,0,,0,0,,0,0,,0,0,\n";
    }
    return text;
}

std::string monsters(int n) {
    std::string text =
        "id,library,nameId,level,chip,color,race,sex,exp,life,str,vit,dex,per,agi,wis,int,cha,"
        "dice,mana,action,offense,defense,hit,avoid,resist,weight,torch,land,water,float,through,"
        "invisible,vision,invisiVision,telepathy,resPhysic,resMagic,resFire,resFreeze,"
        "resThunder,resGround,resWind,resHoly,resEvil,resPoison,resNeural,resMind,resStone,luck,"
        "note,type,control,eat,corpseId,corpsePer,corpseSize,eatType,lists,\n";
    for (int i = 0; i < n; ++i) {
        text += std::to_string(i + 1) + ",0,mon" + std::to_string(i) +
                ",1,0x60,0x40FF40,o,b,1.0,6,4,6,3,3,2,1,1,1,1d3,0,0,1,0,0,0,0,100,0,1,0,0,0,0,6,"
                "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,,1,0,o,34,0,1,0,-,1,1,0,0,0,0,0,0,0,0,0,0,0,0,0,"
                "0,0,0,0,-,Approach,-,-,\n";
    }
    return text;
}

std::string anima(int n) {
    std::string text = "id,no,tag,rarity,level,drop,select,\n";
    for (int i = 0; i < n; ++i) {
        text += std::to_string(i + 1) + "," + std::to_string(i % 500 + 1) + ",an" +
                std::to_string(i) + "," + std::to_string(i % 5 + 1) + ",1,10,1,\n";
    }
    return text;
}

// About 300 KB of function definitions, in 30 chunks.
void scripts(const std::filesystem::path& dir) {
    PackageWriter writer(kScriptPackageFile);
    for (int chunk = 0; chunk < 30; ++chunk) {
        const std::filesystem::path path = dir / ("chunk" + std::to_string(chunk) + ".lua");
        std::ofstream out(path);
        for (int f = 0; f < 100; ++f) {
            out << "function F" << chunk << "_" << f
                << "(a, b)\n  local t = {}\n  for i = 1, a do t[i] = i * b end\n"
                   "  if a > 10 then return t[1] + t[2] else return #t end\n"
                   "  -- padding so that the chunk holds about ten kilobytes in all\nend\n";
        }
        out.close();
        writer.push(path.string(), path.filename().string());
    }
    writer.close();
}

void BM_Boot(benchmark::State& state) {
    qel::FileSystem::install(&qel::PosixFileSystem::instance());
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("boot_bench." + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "data");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    writeScrambled(kActionTableFile, actions(300));
    writeScrambled(kSpellTableFile, spells(300));
    writeScrambled(kItemTableFile, items(500));
    writeScrambled(kItemNameTableFile, "id,name\n");
    writeScrambled(kSkillTableFile, skills(300));
    writeScrambled(kMonsterTableFile, monsters(300));
    writeScrambled(kAnimaTableFile, anima(200));
    scripts(dir);
    qel::SysLua::instance().init();
    for (auto _ : state) {
        BootLoader boot;
        if (boot.run() != BootLoader::Result::Done) state.SkipWithError(boot.failure().c_str());
    }
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Boot)->Unit(benchmark::kMillisecond);

}  // namespace
