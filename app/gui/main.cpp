// cirquel: the desktop program.
#include "gui_app.h"

int main(int argc, char** argv) { return Gui_Main(argc, argv); }
