#include <stdio.h>

#include "dosinfo.h"
#include "greet.h"

int main(void)
{
    unsigned version = dos_version();

    greet("Open Watcom");
    printf("MS-DOS %u.%02u\n", version & 0xFF, version >> 8);
    report_memory_model();
    return 0;
}
