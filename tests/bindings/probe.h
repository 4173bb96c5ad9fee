// Test-only declarations bound through the same generator and rewrite as the
// game's bindings, so that the binding conventions can be shown on kinds of
// parameters and variables no game binding of these tests has yet.
#pragma once

#include <string>

#include "bindings/binding_support.h"
#include "bindings/tolua_overrides.h"
#include "game/world/value_types.h"

extern std::string probeText;
extern int probeInt;
extern unsigned int probeUint;
extern bool probeFlag;
extern Point probePoint;

bool probeTruth(bool b);
int probeEcho(int n);
unsigned int probeEchoUnsigned(unsigned int n);
std::string probeRepeat(std::string text, int times = 2);
const char* probeText2(const char* text);
// Throws std::out_of_range for an index outside 0..9, as a program class
// does for a bad index; returns the index otherwise.
int probeAt(int index);

// Counts its live instances, so a test can see every copy destroyed.
struct Tracked {
    static int live;
    Tracked() { ++live; }
    Tracked(const Tracked&) { ++live; }
    ~Tracked() { --live; }
};

struct ProbeHolder {
    std::string take(std::string text) { return text; }
    int keep(Tracked) { return Tracked::live; }
};

int tolua_probe_open(lua_State* tolua_S);
