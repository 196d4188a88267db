# make makefile at: 126/12/8 17:34

MODEL	= L
CC	= gcc
LINKER	= gcc
CFLAGS	= -Wall -fno-diagnostics-show-caret -I../include
LDFLAGS	= 

HDRPATH	= ..\include ../include
OUTDIR	= obj

OF1	= $(OUTDIR)\greet.obj $(OUTDIR)\main.obj
OFILES	= $(OF1)

LIBS	= 

PROGRAM	= sample

all: $(PROGRAM)

$(PROGRAM): $(OFILES) $(LIBS) link.cc
	@echo Linking...
	$(LINKER) $(LDFLAGS) @link.cc;

link.cc: makefile
	@echo Creating link.cc...
	@echo /SE:512 /EXEPACK /nologo+>link.cc
	@echo $(OF1)>>link.cc
	@echo $(PROGRAM)>>link.cc
	@echo nul>>link.cc
	@echo $(LIBS) /FARCALLTRANSLATION /PACKCODE ;>>link.cc

$(OUTDIR)\greet.obj: greet.c greet.h config.h
	$(CC) -c $(CFLAGS) /Fo$(OUTDIR)\ greet.c

$(OUTDIR)\main.obj: main.c greet.h config.h
	$(CC) -c $(CFLAGS) /Fo$(OUTDIR)\ main.c

clean:
	-rm link.cc
	-rm $(OF1)
