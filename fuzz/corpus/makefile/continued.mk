# continued definitions
OF1	= $(OUTDIR)\a.obj \
	$(OUTDIR)\b.obj \

	$(OUTDIR)\c.obj
PROGRAM	= ..\ƒ\\prog.x
MODEL += m
HDRPATH=  inc  ..\inc inc	/usr/include
end of block
LIBRARY = late
