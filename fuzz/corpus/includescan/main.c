#include <stdio.h>
#include "greet.h"
#include "config.h"

int main(void)
{
    int count; /* never used: gcc -Wall warns, so a build shows a warning */
    greet("world", REPEAT);
    return 0;
}
