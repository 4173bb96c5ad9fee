#include "tests/bindings/probe.h"

#include <stdexcept>

std::string probeText;
int probeInt = 0;
unsigned int probeUint = 0;
bool probeFlag = false;
Point probePoint;
int Tracked::live = 0;

bool probeTruth(bool b) {
    return b;
}

int probeEcho(int n) {
    return n;
}

unsigned int probeEchoUnsigned(unsigned int n) {
    return n;
}

std::string probeRepeat(std::string text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

const char* probeText2(const char* text) {
    return text;
}

int probeAt(int index) {
    if (index < 0 || index > 9)
        throw std::out_of_range("index " + std::to_string(index) + " is out of range");
    return index;
}
