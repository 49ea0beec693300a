#include "Run.h"
#include "shell/StartupTrace.h"

int main(int argc, char **argv)
{
    shell::startupMark("main() entered: executable loaded and relocated");
    return app::runProgram(argc, argv);
}
