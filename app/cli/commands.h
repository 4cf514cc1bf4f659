// The commands of cirquel-cli. Each takes the arguments after its name (args[0] is the first of them) and returns the
// process status: 0 done, 2 bad input (after a one-line message on stderr).
// The modules are started before a command runs and stopped after it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using a_cli_args = std::vector<std::string>;

struct a_cli_command {
    const char* name;
    const char* usage;  // its synopsis in the usage message
    const char* help;   // what it does, in one line
    int (*run)(const a_cli_args& args);
    // Needs no catalogue, art, fonts or document: started light, so it is quick.
    bool light = false;
};

// The table of every command, in the order of the usage text, ended by a null name.
extern const a_cli_command g_cli_commands[];


// Projects, shared by the commands that read them: the refusal with alert
// 10's text on one line; whether a file starts as a project does; and the
// project read as the program opens it (quietly), false when it cannot be.
std::string Cli_Cannot_Read(const std::string& path);
bool Cli_Is_Project(const std::string& path);
bool Cli_Open_Project(const std::string& path);
// The art database opened once for the commands that draw or read designs
// (canvases and clip art are looked up in it); false when none is found.
bool Cli_Art_Start();
