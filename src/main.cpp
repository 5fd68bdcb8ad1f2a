// Quorvex Setup Software: the program. Until the window stands, it checks the program
// tree it was given: lists the products and loads the PLC definition files of each.
#include "app/TreeCheck.h"

int main(int argc, char** argv) {
    return RunTreeCheck(argc, argv);
}
