#include <stdio.h>
#include "greet.h"
#include "config.h"

void greet(const char *who, int times)
{
    int i;
    for (i = 0; i < times; i++)
        printf("%s, %s!\n", GREETING, who);
}
