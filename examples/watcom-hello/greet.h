/* The greeting: main.c and greet.c share it. */
#ifndef GREET_H
#define GREET_H

void greet(const char *who);

#endif
