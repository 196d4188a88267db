# make makefile at: 126/12/8 17:34

MODEL	= h
CC	= lcc
CFLAGS	= 

HDRPATH	= ..\header
OUTDIR	= .

OF1	= greet.obj main.obj
OFILES	= $(OF1)

LIBRARY	= util.lib

all: $(LIBRARY)

$(LIBRARY): $(OFILES) makelib
	-rm $(LIBRARY)
	lib @makelib

makelib: makefile
	@echo Creating makelib...
	@echo $(LIBRARY)>makelib
	@echo y>>makelib
	@echo $(OF1: =+);>>makelib

greet.obj: greet.c greet.h config.h
	$(CC) -c $(CFLAGS) greet.c

main.obj: main.c greet.h config.h
	$(CC) -c $(CFLAGS) main.c

clean:
	-rm makelib
	-rm $(OF1)
