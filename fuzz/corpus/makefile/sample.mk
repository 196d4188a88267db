# The sample project: two C sources and the shared include folder ../include,
# built by GNU make with gcc. The IDE reads the macro block below up to the
# first line without "=": the program's name, its model and OUTDIR.

MODEL	= l
CC	= gcc
LINKER	= gcc
CFLAGS	= -Wall -fno-diagnostics-show-caret -I../include
LDFLAGS	=

HDRPATH	= ../include
OUTDIR	= obj

OF1	= $(OUTDIR)/main.o $(OUTDIR)/greet.o
OFILES	= $(OF1)

LIBS	=

PROGRAM	= sample

# The IDE jumps to the editor from message lines of the form "file(line) :";
# gcc writes "file:line:column:", so its messages pass through MSGFORM.
# pipefail keeps gcc's exit status through that pipe.
SHELL	= /bin/bash
.SHELLFLAGS = -o pipefail -c
MSGFORM	= sed -u -e 's/^\([^:( ]*\):\([0-9]*\):[0-9]*: /\1(\2) : /'

all: $(PROGRAM)

$(PROGRAM): $(OFILES) $(LIBS) makefile
	@echo $(LINKER) $(LDFLAGS) -o $@ $(OFILES) $(LIBS)
	@$(LINKER) $(LDFLAGS) -o $@ $(OFILES) $(LIBS) 2>&1 | $(MSGFORM)

$(OUTDIR)/%.o: %.c | $(OUTDIR)
	@echo $(CC) -c $(CFLAGS) -o $@ $<
	@$(CC) -c $(CFLAGS) -o $@ $< 2>&1 | $(MSGFORM)

$(OUTDIR)/main.o: main.c greet.h ../include/config.h
$(OUTDIR)/greet.o: greet.c greet.h ../include/config.h

$(OUTDIR):
	mkdir -p $(OUTDIR)

clean:
	-rm -f $(OFILES) $(PROGRAM)

.PHONY: all clean
