// The design program zarnel. Arguments: nothing (a new design) or the design file to open.
#include <wx/app.h>

#include "app/shell/ZarnelApp.h"

int main(int argc, char** argv) {
    CZarnelApp::PrepareEnvironment();
    return wxEntry(argc, argv) == 0 ? 0 : 1;
}
