#pragma once
// The whole program, from the fonts and the application object to the end of the event loop:
// main() is this call, and tests start it as their own process with start-up services of theirs.

namespace app {

int runProgram(int argc, char **argv);

} // namespace app
