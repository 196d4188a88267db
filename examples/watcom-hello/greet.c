#include <stdio.h>

#include "greet.h"

void greet(const char *who)
{
    printf("Hello from %s!\n", who);
}
