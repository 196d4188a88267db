PROGRAM	= $(OUTDIR)\•\
CC	= cl

all: $(PROGRAM)
