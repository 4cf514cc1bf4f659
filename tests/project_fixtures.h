// Small projects, one per format version and per kind of damage, made by our
// own writer and then changed chunk by chunk. The tests read the copies kept
// under tests/data/projects (a disabled test writes them); the fuzz target
// starts from them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct a_project_fixture {
    std::string name;  // its file under tests/data/projects
    std::vector<uint8_t> bytes;
    int defect = -1;   // the serious defect it is refused with; -1: it opens
};

// Where the first form's character i (1-based) says it was laid out.
int16_t Project_Fixture_Old_X(int i);

// Needs a started core; leaves no document open and the effects cache empty
// of its pictures.
std::vector<a_project_fixture> Project_Fixtures();
