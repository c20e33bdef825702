#include "startup.h"

int main(int argc, char** argv)
{
    return brindelor::app::run(argc, argv);
}
