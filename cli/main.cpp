#include <iostream>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "bookmarks/PrivateCopy.hpp"
#include "bookmarks/cIE.hpp"
#include "cli/CheckRun.hpp"

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("brimtor"));
    brimtor::cIE::SetRuntimeVersion(qVersion());
    // A crashed read's copy of a browser's database must not outlive the crash for long.
    brimtor::RemoveStaleCopies();
    // The arguments as the bytes they were given in: file names need not be in any encoding.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return brimtor::CheckMain(arguments, std::cin, std::cout, std::cerr);
}
