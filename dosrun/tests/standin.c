/* Stands in for a DOS compiler in the tests of dosrun and of the IDE with
   it: message lines in its form, a chosen exit code, output that waits for
   a file, Shift-JIS bytes, long lines, the arguments as DOS gave them,
   lines on standard error between those on standard output, a question
   read from standard input, standard input copied out, a question that
   never ends.
   Built with bcc into a .COM program. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <bios.h>

/* Waits for the BIOS clock to tick twice (about 0.1 s), so that what comes
   before has left the serial ports before what comes after. */
static void pause_ticks(void)
{
    unsigned start;
    __set_es(0x40);
    start = __deek_es(0x6c);
    while (__deek_es(0x6c) - start < 2) {}
}

int main(int argc, char **argv)
{
    FILE *f;
    int i;
    if (argc < 2) return 0;
    if (strcmp(argv[1], "exit") == 0) return atoi(argv[2]);
    if (strcmp(argv[1], "msg") == 0) {
        printf("%s(%s) : error C2065: 'x' : undeclared identifier\n", argv[2], argv[3]);
        printf("%s(%s) : warning C4013: 'f' undefined\n", argv[2], argv[3]);
        return atoi(argv[4]);
    }
    if (strcmp(argv[1], "wait") == 0) {
        printf("waiting for %s\n", argv[2]);
        fflush(stdout);
        while ((f = fopen(argv[2], "r")) == 0) {}
        fclose(f);
        printf("saw %s\n", argv[2]);
        return 3;
    }
    if (strcmp(argv[1], "sjis") == 0) {
        printf("\x95\x5c\x8e\xa6 \x83\x65\x83\x58\x83\x67\n");
        return 0;
    }
    if (strcmp(argv[1], "long") == 0) {
        for (i = 0; i < atoi(argv[2]); ++i) putchar('a' + i % 26);
        printf("\nend");
        return 0;
    }
    if (strcmp(argv[1], "err") == 0) {
        for (i = 1; i <= 3; ++i) {
            printf("out %d\n", i);
            fflush(stdout);
            pause_ticks();
            fprintf(stderr, "err %d\n", i);
            fflush(stderr);
            pause_ticks();
        }
        fprintf(stderr, "last");
        return 4;
    }
    if (strcmp(argv[1], "hang") == 0) {
        fprintf(stderr, "ready\n");
        fflush(stderr);
        printf("Delete it [Yes/No] ? ");
        fflush(stdout);
        fprintf(stderr, "half a line");
        fflush(stderr);
        for (;;) {}
    }
    if (strcmp(argv[1], "ask") == 0) {
        printf("Delete it [Yes/No] ? ");
        fflush(stdout);
        i = getchar();
        printf("%s\n", i == EOF ? "no answer" : "answered");
        return i == EOF ? 5 : 6;
    }
    if (strcmp(argv[1], "cat") == 0) {
        while ((i = getchar()) != EOF) putchar(i);
        return 0;
    }
    if (strcmp(argv[1], "args") == 0) {
        for (i = 2; i < argc; ++i) printf("<%s>", argv[i]);
        printf("\n");
        return 0;
    }
    return 9;
}
