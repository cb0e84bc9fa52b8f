// Tonfang's entry point. The command line is not read.
#include "app/application.h"
#include "app/startup.h"
#include "editor/tprog.h"
#include "picking/colourlisthandlers.h"
#include "picking/eyedropper.h"

int main(int argc, char *argv[])
{
    TonfangApplication app(argc, argv);
    Startup startup;

    // Behaviour that installs itself on the main window.
    Tprog *prog = startup.prog();
    new ColourListHandlers(*prog);
    new Eyedropper(*prog);

    return startup.exec();
}
