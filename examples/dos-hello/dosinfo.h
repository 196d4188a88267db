/* What the sample asks of MS-DOS itself. */
#ifndef DOSINFO_H
#define DOSINFO_H

/* The DOS version from INT 21h, function 30h: major in the low byte,
   minor in the high byte. */
unsigned int dos_version(void);

#endif
