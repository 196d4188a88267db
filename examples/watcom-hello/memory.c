#include <stdio.h>

#include "dosinfo.h"

void report_memory_model(void)
{
    printf("code pointers %u bytes, data pointers %u bytes\n",
           (unsigned)sizeof(void (*)(void)), (unsigned)sizeof(void *));
}
