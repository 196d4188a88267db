#ifndef GREET_H
#define GREET_H

void greet(const char *who, int times);

#endif
