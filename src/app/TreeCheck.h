#pragma once
// A check of the program tree without a window: lists the products of products.inf and
// loads the PLC definition files of each product's protocols, reporting what it found.
int RunTreeCheck(int argc, char** argv);
