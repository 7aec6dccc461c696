// tharsel: computes the combustion and rocket performance of the propellant
// described by input.dat in the working directory.
#include "Engine.h"

int main()
{
    return RunEngine(".", stderr);
}
