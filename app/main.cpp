// Tonfang's entry point. The command line is not read.
#include "app/application.h"
#include "app/startup.h"

int main(int argc, char *argv[])
{
    TonfangApplication app(argc, argv);
    Startup startup;
    return startup.exec();
}
