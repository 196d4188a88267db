#include <stdio.h>
#include "dosinfo.h"

int main(void)
{
    unsigned int version = dos_version();

    printf("Hello from Vantor!\n");
    printf("MS-DOS %u.%02u\n", version & 0xff, version >> 8);
    return 0;
}
