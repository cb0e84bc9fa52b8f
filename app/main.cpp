// Tonfang's entry point. The command line is not read.
#include "app/application.h"
#include "app/startup.h"
#include "picking/widefunc.h"

int main(int argc, char *argv[])
{
    // Before any thread starts: reaching the file size limit fails the save
    // with a message instead of ending the program.
    ignoreFileSizeSignal();
    TonfangApplication app(argc, argv);
    Startup startup;
    return startup.exec();
}
