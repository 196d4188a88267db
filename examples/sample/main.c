#include <stdio.h>
#include "greet.h"
#include "config.h"

int main(void)
{
    greet("world", REPEAT);
    return 0;
}
