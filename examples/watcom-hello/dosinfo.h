/* What the program learns of the machine, from memory.c and dosver.asm;
   main.c and memory.c include it. */
#ifndef DOSINFO_H
#define DOSINFO_H

/* DOS's version (dosver.asm): the major number in the low byte, the minor
   one in the high byte. */
extern unsigned __cdecl dos_version(void);

/* The sizes of code and data pointers, which the memory model sets. */
void report_memory_model(void);

#endif
