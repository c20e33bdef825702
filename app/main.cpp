#include "startup.h"

int main(int argc, char** argv)
{
    return brindelor::ui::run(argc, argv);
}
