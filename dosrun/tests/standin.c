/* Stands in for a DOS compiler in the tests of dosrun and of the IDE with
   it: message lines in its form, a chosen exit code, output that waits for
   a file, Shift-JIS bytes, long lines, the arguments as DOS gave them.
   Built with bcc into a .COM program. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

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
    if (strcmp(argv[1], "args") == 0) {
        for (i = 2; i < argc; ++i) printf("<%s>", argv[i]);
        printf("\n");
        return 0;
    }
    return 9;
}
