// telio: inspect, check and convert the files of an analysis or design job.
//
// The commands register themselves (Command.h); this only runs the one the
// command line names. Exit status: 0 success, 1 a bad file or findings, 2 a
// usage error.
#include "Tool.h"

int main(int argc, char** argv) { return telio_tool::RunTool(argc, argv); }
