// Stands in for another running copy of the program: starts a built-in engine instance that holds
// the lock file named on the command line, says "ready", and quits it when its input ends.
#include "wordproc/engine/BuiltinEngine.h"

#include <QCoreApplication>

#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    wordproc::BuiltinApplicationFactory factory(QString::fromLocal8Bit(argv[1]));
    auto engine = factory.createNew();
    std::cout << "ready" << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    engine->quit();
    return 0;
}
