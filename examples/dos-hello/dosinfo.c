#include "dosinfo.h"

/* bcc returns an int in AX, which is where DOS leaves the version. */
unsigned int dos_version(void)
{
#asm
    mov ah,#$30
    int $21
#endasm
}
