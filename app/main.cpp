#include "app/modMain.hpp"

int main(int argc, char* argv[])
{
    return brimtor::Main(argc, argv);
}
