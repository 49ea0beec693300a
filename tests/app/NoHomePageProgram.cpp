// The program as main() runs it, for the tests that start it as a process of its own, except that
// its start never opens the maker's home page.
#include "NoHomePage.h"
#include "app/Run.h"

int main(int argc, char **argv)
{
    testsupport::NoHomePage services;
    shell::setStartupServices(&services);
    return app::runProgram(argc, argv);
}
