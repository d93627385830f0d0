#include "app/zorvik_app.h"

int main(int argc, char *argv[])
{
    return zorvik::ZorvikApp::main(argc, argv);
}
